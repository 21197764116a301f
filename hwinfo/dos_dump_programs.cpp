#include "hwinfo/dos_dump_programs.h"

namespace tolvaren {
namespace {

// Hand-assembled 8086, loaded at CS:0100h. DOS cannot write 65,536 bytes in
// one call, so the segment goes out as 65,535 bytes from offset 0 and then
// the single byte at FFFFh. A failed write (carry set) ends the program with
// the DOS error code, which is still in AL.
//
//   0100 B8 00 F0     mov  ax, F000h        ; the segment to dump
//   0103 8E D8        mov  ds, ax
//   0105 B4 40        mov  ah, 40h          ; write to file or device
//   0107 BB 01 00     mov  bx, 1            ; standard output
//   010A B9 FF FF     mov  cx, FFFFh
//   010D 31 D2        xor  dx, dx           ; from DS:0000
//   010F CD 21        int  21h
//   0111 72 14        jc   0127h
//   0113 B4 40        mov  ah, 40h
//   0115 BB 01 00     mov  bx, 1
//   0118 B9 01 00     mov  cx, 1
//   011B BA FF FF     mov  dx, FFFFh        ; the last byte, DS:FFFF
//   011E CD 21        int  21h
//   0120 72 05        jc   0127h
//   0122 B8 00 4C     mov  ax, 4C00h        ; terminate, exit code 0
//   0125 CD 21        int  21h
//   0127 B4 4C        mov  ah, 4Ch          ; terminate, exit code = AL
//   0129 CD 21        int  21h
//   012B 90 90 90     nop (padding to 46 bytes, never reached)
#define TOLVAREN_DUMP_PROGRAM(segmentHigh)                                                                             \
  {                                                                                                                    \
    0xB8, 0x00, segmentHigh, 0x8E, 0xD8, 0xB4, 0x40, 0xBB, 0x01, 0x00, 0xB9, 0xFF, 0xFF, 0x31, 0xD2, 0xCD, 0x21, 0x72, \
        0x14, 0xB4, 0x40, 0xBB, 0x01, 0x00, 0xB9, 0x01, 0x00, 0xBA, 0xFF, 0xFF, 0xCD, 0x21, 0x72, 0x05, 0xB8, 0x00,    \
        0x4C, 0xCD, 0x21, 0xB4, 0x4C, 0xCD, 0x21, 0x90, 0x90, 0x90                                                     \
  }

constexpr DumpProgram kDumpE000 = TOLVAREN_DUMP_PROGRAM(0xE0);
constexpr DumpProgram kDumpF000 = TOLVAREN_DUMP_PROGRAM(0xF0);

#undef TOLVAREN_DUMP_PROGRAM

}  // namespace

const DumpProgram& DumpProgramFor(int selector) { return selector == kSegmentE000 ? kDumpE000 : kDumpF000; }

}  // namespace tolvaren
