#include "io/channels.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/files.h>

#include "app/failure_report.h"
#include "io/file_stream.h"

namespace vexel {

namespace {

std::array<FileStream, kChannelCount>& channels() {
    static std::array<FileStream, kChannelCount> table;
    return table;
}

// A channel command on a number outside 0..7 cannot continue.
FileStream* stream_or_end(int32_t channel) {
    FileStream* stream = channel_stream(channel);
    if (!stream) {
        set_error(7);
        end_program_because("file channel " + std::to_string(channel) +
                            " does not exist (channels are 0..7)");
    }
    return stream;
}

enum class Transfer { kRead, kWrite };

// A read or write of a channel that failed cannot continue either.
void end_on_failure(int32_t channel, Transfer transfer, bool ok) {
    if (ok) return;
    set_error(3);
    const FileStream* stream = channel_stream(channel);
    const std::string name = "file channel " + std::to_string(channel);
    if (!stream || !stream->is_open()) {
        end_program_because(name + " is not open");
    } else {
        end_program_because(name + (transfer == Transfer::kRead ? ": read past the end of the file"
                                                                : ": the write failed"));
    }
}

// Reads width bytes, little-endian, zero-filled where nothing arrived.
uint32_t read_unsigned(int32_t channel, uint32_t width) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return 0;
    uint8_t bytes[8] = {};
    const bool ok = stream->read(bytes, width);
    uint32_t value = 0;
    for (uint32_t i = 0; i < width && i < 4; ++i)
        value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    end_on_failure(channel, Transfer::kRead, ok);
    return value;
}

void write_little_endian(int32_t channel, uint64_t value, uint32_t width) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return;
    uint8_t bytes[8];
    for (uint32_t i = 0; i < width; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    end_on_failure(channel, Transfer::kWrite, stream->write(bytes, width));
}

uint64_t read_u64(int32_t channel) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return 0;
    uint8_t bytes[8] = {};
    const bool ok = stream->read(bytes, 8);
    uint64_t value = 0;
    for (uint32_t i = 0; i < 8; ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    end_on_failure(channel, Transfer::kRead, ok);
    return value;
}

bool read_channel_line(int32_t channel, DynString& target) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return false;
    char line[kLineLimit + 1];
    uint32_t length = 0;
    const bool ok = stream->read_line(line, &length);
    DynString text;
    text.append(line, length);
    target = std::move(text);
    end_on_failure(channel, Transfer::kRead, ok);
    return ok;
}

}  // namespace

FileStream* channel_stream(int32_t channel) {
    if (channel < 0 || channel >= kChannelCount) return nullptr;
    return &channels()[static_cast<size_t>(channel)];
}

void close_every_channel() {
    for (FileStream& stream : channels())
        stream.close();
}

int32_t open_file(int32_t channel, const DynString& name, int32_t mode) {
    FileStream* stream = channel_stream(channel);
    if (!stream) {
        set_error(7);
        return 0;
    }
    set_error(0);
    stream->close();
    bool ok;
    if (mode >= 1) {
        DynString resolved;
        if (!resolve_name(name, resolved, true)) set_error(3);
        ok = stream->open_read(resolved.c_str());
    } else if (mode == 0) {
        ok = stream->open_write(name.c_str());
    } else {
        ok = stream->open_append(name.c_str());
    }
    if (!ok) set_error(3);
    return ok ? 1 : 0;
}

void close_file(int32_t channel) {
    FileStream* stream = channel_stream(channel);
    if (!stream) {
        set_error(7);
        return;
    }
    stream->close();
    set_error(0);
}

void read_int8(int32_t channel, int32_t& target) {
    target = static_cast<int8_t>(read_unsigned(channel, 1));
}

void read_uint8(int32_t channel, int32_t& target) {
    target = static_cast<int32_t>(read_unsigned(channel, 1));
}

void read_int16(int32_t channel, int32_t& target) {
    target = static_cast<int16_t>(read_unsigned(channel, 2));
}

void read_uint16(int32_t channel, int32_t& target) {
    target = static_cast<int32_t>(read_unsigned(channel, 2));
}

void read_int32(int32_t channel, int32_t& target) {
    target = static_cast<int32_t>(read_unsigned(channel, 4));
}

void read_double(int32_t channel, double& target) {
    const uint64_t bits = read_u64(channel);
    std::memcpy(&target, &bits, sizeof target);
}

void read_float(int32_t channel, double& target) {
    const uint32_t bits = read_unsigned(channel, 4);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    target = value;
}

void read_bytes(int32_t channel, DynString& target, int32_t count) {
    if (count <= 0) {
        target = DynString();
        return;
    }
    FileStream* stream = stream_or_end(channel);
    if (!stream) return;
    const auto n = static_cast<uint32_t>(count);
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[n]());
    if (!bytes) {
        set_error(7);
        target = DynString();
        return;
    }
    const bool ok = stream->read(bytes.get(), n);
    try {
        DynString text;
        text.reserve(n + 32, false);
        text.append(bytes.get(), n);
        target = std::move(text);
    } catch (const std::bad_alloc&) {
        set_error(7);
        target = DynString();
        return;
    }
    end_on_failure(channel, Transfer::kRead, ok);
}

void read_line(int32_t channel, DynString& target) {
    read_channel_line(channel, target);
}

void read_line(int32_t channel, double& target) {
    DynString line;
    read_channel_line(channel, line);
    target = text_to_double(line);
}

void read_line(int32_t channel, int32_t& target) {
    DynString line;
    read_channel_line(channel, line);
    target = text_to_int(line);
}

void write_int8(int32_t channel, int32_t value) {
    write_little_endian(channel, static_cast<uint32_t>(value), 1);
}

void write_int16(int32_t channel, int32_t value) {
    write_little_endian(channel, static_cast<uint32_t>(value), 2);
}

void write_int32(int32_t channel, int32_t value) {
    write_little_endian(channel, static_cast<uint32_t>(value), 4);
}

void write_double(int32_t channel, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_little_endian(channel, bits, 8);
}

void write_float(int32_t channel, double value) {
    const auto single = static_cast<float>(value);
    uint32_t bits;
    std::memcpy(&bits, &single, sizeof bits);
    write_little_endian(channel, bits, 4);
}

void write_bytes(int32_t channel, const DynString& text) {
    FileStream* stream = stream_or_end(channel);
    if (!stream || text.empty()) return;
    end_on_failure(channel, Transfer::kWrite, stream->write(text.c_str(), text.length()));
}

void write_line(int32_t channel, const DynString& text) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return;
    std::string line(text.c_str(), text.length());
    line += "\r\n";
    end_on_failure(channel, Transfer::kWrite,
                   stream->write(line.data(), static_cast<uint32_t>(line.size())));
}

double file_position(int32_t channel) {
    FileStream* stream = stream_or_end(channel);
    return stream ? static_cast<double>(stream->position()) : 0;
}

double file_seek(int32_t channel, double offset, int32_t whence) {
    FileStream* stream = stream_or_end(channel);
    if (!stream) return 0;
    // Offsets beyond any file are refused like a move before the start.
    if (!(offset > -9.0e18 && offset < 9.0e18))
        return stream->is_open() && !stream->is_memory() ? -1 : 0;
    return static_cast<double>(stream->seek(static_cast<int64_t>(offset), whence));
}

}  // namespace vexel
