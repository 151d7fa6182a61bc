#include "sound/riff.h"

#include <cstring>

#include "base/services.h"

namespace {
u32 ReadU32(const u8* bytes) {
    return (u32)bytes[0] | (u32)bytes[1] << 8 | (u32)bytes[2] << 16 | (u32)bytes[3] << 24;
}

// Pulls the next bytes of the file into the window, keeping its tail.
u32 Refill(RiffReader* reader) {
    u32 keep = reader->windowLength < RIFF_KEEP_BYTES ? reader->windowLength : RIFF_KEEP_BYTES;
    memmove(reader->window, reader->window + reader->windowLength - keep, keep);
    reader->windowStart += reader->windowLength - keep;
    u32 got = ReadGameFile(reader->file, reader->window + keep, RIFF_WINDOW_BYTES - keep);
    reader->windowLength = keep + got;
    return got;
}

uint64_t WindowEnd(const RiffReader* reader) { return reader->windowStart + reader->windowLength; }

// Reads a chunk header at the read position; 0 when the file ends first.
u32 ReadHeader(RiffReader* reader, RiffChunk* chunk) {
    u8 header[8];
    if (RiffRead(reader, header, 8) < 8) return 0;
    chunk->id = ReadU32(header);
    chunk->size = ReadU32(header + 4);
    chunk->formType = 0;
    chunk->dataOffset = reader->pos;
    return 1;
}

uint64_t ChunkEnd(const RiffChunk* chunk) {
    return chunk->dataOffset + chunk->size + (chunk->size & 1);
}
}  // namespace

u32 RiffOpen(RiffReader* reader, const char* path) {
    memset(reader, 0, sizeof *reader);
    reader->file = OpenGameFile(path, FILE_MODE_PROBE);
    return reader->file != INVALID_FILE;
}

void RiffClose(RiffReader* reader) {
    if (reader->file != INVALID_FILE) CloseGameFile(reader->file);
    reader->file = INVALID_FILE;
}

u32 RiffRead(RiffReader* reader, void* buffer, u32 bytes) {
    u8* out = (u8*)buffer;
    u32 done = 0;
    while (done < bytes) {
        if (reader->pos < reader->windowStart || reader->pos > WindowEnd(reader)) break;
        if (reader->pos < WindowEnd(reader)) {
            u32 offset = (u32)(reader->pos - reader->windowStart);
            u32 take = reader->windowLength - offset;
            if (take > bytes - done) take = bytes - done;
            memcpy(out + done, reader->window + offset, take);
            done += take;
            reader->pos += take;
        } else if (bytes - done >= RIFF_WINDOW_BYTES) {
            // Large reads (the sample data) go straight to their target.
            u32 got = ReadGameFile(reader->file, out + done, bytes - done);
            reader->windowStart = WindowEnd(reader) + got;
            reader->windowLength = 0;
            done += got;
            reader->pos += got;
            break;
        } else if (!Refill(reader)) {
            break;
        }
    }
    return done;
}

u32 RiffSeek(RiffReader* reader, uint64_t target) {
    if (target < reader->windowStart) return 0;
    while (target > WindowEnd(reader)) {
        if (!Refill(reader)) break;
    }
    // Past the end of the file the position stays there and reads give nothing.
    reader->pos = target;
    return 1;
}

u32 RiffFindForm(RiffReader* reader, RiffChunk* chunk, u32 formType) {
    while (ReadHeader(reader, chunk)) {
        if (chunk->id == RiffCode('R', 'I', 'F', 'F')) {
            u8 form[4];
            if (RiffRead(reader, form, 4) < 4) return 0;
            chunk->formType = ReadU32(form);
            if (chunk->formType == formType) return 1;
        }
        if (!RiffSeek(reader, ChunkEnd(chunk))) return 0;
    }
    return 0;
}

u32 RiffFindChunk(RiffReader* reader, RiffChunk* chunk, const RiffChunk* parent, u32 id) {
    uint64_t parentEnd = parent->dataOffset + parent->size;
    while (reader->pos + 8 <= parentEnd && ReadHeader(reader, chunk)) {
        if (chunk->id == id) return 1;
        if (!RiffSeek(reader, ChunkEnd(chunk))) return 0;
    }
    return 0;
}

u32 RiffAscend(RiffReader* reader, const RiffChunk* chunk) {
    return RiffSeek(reader, ChunkEnd(chunk));
}
