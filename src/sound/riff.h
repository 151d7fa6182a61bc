// A forward-reading RIFF parser over the game's file functions, standing in
// for the multimedia I/O calls: descend, ascend and read, with a short window
// kept behind the read position so a read may run a little past a chunk and
// the reader can still step back to the chunk's end.
#pragma once
#include "base/common.h"

const u32 RIFF_WINDOW_BYTES = 256;
// Bytes kept from the previous window when it is refilled: the furthest a
// seek may step back.
const u32 RIFF_KEEP_BYTES = 64;

struct RiffReader {
    int file;
    uint64_t pos;          // logical read position
    uint64_t windowStart;  // file offset of window[0]
    u32 windowLength;      // valid bytes in window
    u8 window[RIFF_WINDOW_BYTES];
};

struct RiffChunk {
    u32 id;
    u32 size;
    u32 formType;         // RIFF and LIST chunks only
    uint64_t dataOffset;  // first byte after the 8-byte header
};

constexpr u32 RiffCode(char a, char b, char c, char d) {
    return (u32)(u8)a | (u32)(u8)b << 8 | (u32)(u8)c << 16 | (u32)(u8)d << 24;
}

// Opens with the probe mode: a missing file fails. Returns 0 on failure.
u32 RiffOpen(RiffReader* reader, const char* path);
void RiffClose(RiffReader* reader);
// Reads up to `bytes`; fewer at the end of the file.
u32 RiffRead(RiffReader* reader, void* buffer, u32 bytes);
// 0 when the target lies behind what the window still holds.
u32 RiffSeek(RiffReader* reader, uint64_t target);
// Finds the next top-level "RIFF" chunk of `formType` from the read position
// and stays after its form type. 0 when none is found.
u32 RiffFindForm(RiffReader* reader, RiffChunk* chunk, u32 formType);
// Finds subchunk `id` of `parent` from the read position and stays at its data.
u32 RiffFindChunk(RiffReader* reader, RiffChunk* chunk, const RiffChunk* parent, u32 id);
// Moves to the end of `chunk`, past its pad byte when the size is odd.
u32 RiffAscend(RiffReader* reader, const RiffChunk* chunk);
