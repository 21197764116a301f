#!/usr/bin/env python3
"""A scripted DNS server for the network tests: answers PTR queries on several
loopback addresses (port 53), each in its own way.

    dns_responder.py ADDRESS=MODE ...

Modes: silent, refused, nxdomain, answers (an A record, then two PTR records,
and an NS authority record), authority (no answer, an authority record only),
other-port (a reply from another port and one from another address, then the
real one), long-name (a PTR target over 255 bytes in wire form), blank-label
(a PTR target whose first label holds a blank).
"""
import select
import socket
import struct
import sys
import time


def name(text):
    out = b""
    for label in text.split("."):
        out += bytes([len(label)]) + label.encode()
    return out + b"\0"


def record(rtype, rdata):
    # owner: a pointer to the question name at offset 12
    return struct.pack(">HHHIH", 0xC00C, rtype, 1, 60, len(rdata)) + rdata


def reply(query, rcode=0, answers=(), authority=()):
    header = struct.pack(">HHHHHH", struct.unpack(">H", query[:2])[0], 0x8180 | rcode, 1, len(answers),
                         len(authority), 0)
    return header + query[12:] + b"".join(answers) + b"".join(authority)


def ptr(target):
    return record(12, name(target))


def serve(sock, mode, query, sender):
    if mode == "silent":
        return
    if mode == "refused":
        sock.sendto(reply(query, 5), sender)
    elif mode == "nxdomain":
        sock.sendto(reply(query, 3), sender)
    elif mode == "answers":
        sock.sendto(reply(query, 0, [record(1, bytes([192, 0, 2, 1])), ptr("first-ptr.example"),
                                     ptr("second-ptr.example")], [record(2, name("auth-ns.example"))]), sender)
    elif mode == "authority":
        sock.sendto(reply(query, 0, [], [record(2, name("authority-label.example"))]), sender)
    elif mode == "other-port":
        stray = reply(query, 0, [ptr("stray.example")])
        other = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        other.bind((sock.getsockname()[0], 0))
        other.sendto(stray, sender)
        elsewhere = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        elsewhere.bind(("127.0.0.99", 53))
        elsewhere.sendto(stray, sender)
        time.sleep(0.3)
        sock.sendto(reply(query, 0, [ptr("genuine.example")]), sender)
        other.close()
        elsewhere.close()
    elif mode == "long-name":
        sock.sendto(reply(query, 0, [ptr(".".join(["toolong" + "x" * 53] * 5))]), sender)
    elif mode == "blank-label":
        sock.sendto(reply(query, 0, [ptr("short name.example")]), sender)


def main():
    sockets = {}
    for spec in sys.argv[1:]:
        address, mode = spec.split("=")
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sock.bind((address, 53))
        sockets[sock] = mode
    print("ready", flush=True)
    while True:
        ready, _, _ = select.select(list(sockets), [], [])
        for sock in ready:
            query, sender = sock.recvfrom(4096)
            if len(query) > 12:
                serve(sock, sockets[sock], query, sender)


main()
