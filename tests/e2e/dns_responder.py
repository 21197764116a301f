#!/usr/bin/env python3
"""A scripted DNS server for the network tests: answers PTR queries on several
loopback addresses (port 53), each in its own way.

    dns_responder.py ADDRESS=MODE ...

Modes: silent, refused, nxdomain, answers (an A record, then two PTR records,
and an NS authority record), authority (no answer, an authority record only),
other-port (a reply from another port and one from another address, then the
real one), long-name (a PTR target over 255 bytes in wire form), blank-label
(a PTR target whose first label holds a blank), and the strays, which send one
datagram that is not the reply before the real one 0.3 s later: stray-big (9,000
bytes from another address), stray-id (another identifier), stray-qr (QR clear),
stray-name (another question name), stray-type (a type-A question); upper-case
answers at once with the question name in capitals.
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


def question_name(query):
    """The question name of a query as text (no compression in queries)."""
    labels, at = [], 12
    while query[at]:
        labels.append(query[at + 1:at + 1 + query[at]].decode())
        at += 1 + query[at]
    return ".".join(labels)


def answer_to(query, qname, qtype=12, flags=0x8180, ident=None):
    ident = struct.unpack(">H", query[:2])[0] if ident is None else ident
    header = struct.pack(">HHHHHH", ident, flags, 1, 1, 0, 0)
    return header + name(qname) + struct.pack(">HH", qtype, 1) + ptr("stray.example")


def stray_datagram(query, mode):
    ident = struct.unpack(">H", query[:2])[0]
    qname = question_name(query)
    if mode == "stray-id":
        return answer_to(query, qname, ident=ident ^ 1)
    if mode == "stray-qr":
        return answer_to(query, qname, flags=0x0100)
    if mode == "stray-name":
        return answer_to(query, "1." + qname)
    return answer_to(query, qname, qtype=1)  # stray-type


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
    elif mode == "stray-big":
        elsewhere = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        elsewhere.bind(("127.0.0.98", 53))
        elsewhere.sendto(b"\0" * 9000, sender)
        elsewhere.close()
        time.sleep(0.3)
        sock.sendto(reply(query, 0, [ptr("genuine.example")]), sender)
    elif mode.startswith("stray-"):
        sock.sendto(stray_datagram(query, mode), sender)
        time.sleep(0.3)
        sock.sendto(reply(query, 0, [ptr("genuine.example")]), sender)
    elif mode == "upper-case":
        sock.sendto(answer_to(query, question_name(query).upper()), sender)


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
