#include "core/gzfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/platform.h"

bool isMissingFile(const char* path)
{
    FILE* probe = fopen(path, "rb");
    if (probe == nullptr)
        return errno == ENOENT;
    fclose(probe);
    return false;
}

bool isReadableFile(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    fclose(file);
    return true;
}

namespace {

constexpr size_t kDecompressedChunk = 65536;

bool startsWithGzipHeader(const unsigned char* bytes, size_t length)
{
    return length >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

} // namespace

GzReader::GzReader(const char* path)
{
    read_ = readWholeFile(path, compressed_);
    if (read_ == FileRead::unreadable)
        error_ = Z_ERRNO;
}

GzReader::~GzReader()
{
    if (started_)
        inflateEnd(&stream_);
}

GzReader::Content GzReader::content() const
{
    if (read_ != FileRead::read)
        return Content::unreadable;
    const auto* bytes = reinterpret_cast<const unsigned char*>(compressed_.data());
    return startsWithGzipHeader(bytes, compressed_.size()) ? Content::gzip : Content::notGzip;
}

bool GzReader::fill()
{
    outStart_ = outEnd_ = 0;
    if (ended_ || error_ != Z_OK || content() != Content::gzip)
        return false;
    if (!started_) {
        // 16 + the largest window: a gzip wrapper, whose check sum and length are verified.
        if (inflateInit2(&stream_, 16 + MAX_WBITS) != Z_OK) {
            error_ = Z_MEM_ERROR;
            return false;
        }
        started_ = true;
        stream_.next_in = reinterpret_cast<Bytef*>(compressed_.data());
        stream_.avail_in = uInt(compressed_.size());
        out_.reset(new char[kDecompressedChunk]);
    }
    stream_.next_out = reinterpret_cast<Bytef*>(out_.get());
    stream_.avail_out = uInt(kDecompressedChunk);
    while (stream_.avail_out == kDecompressedChunk) {
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            // Another member may follow, as gzip allows; anything else after the end is ignored.
            if (!startsWithGzipHeader(stream_.next_in, stream_.avail_in)) {
                ended_ = true;
                break;
            }
            inflateReset(&stream_);
        } else if (result == Z_BUF_ERROR) {
            // No progress with room to write: the input ended inside a member, cut short.
            error_ = Z_BUF_ERROR;
            break;
        } else if (result != Z_OK) {
            error_ = Z_DATA_ERROR;
            break;
        }
    }
    outEnd_ = kDecompressedChunk - stream_.avail_out;
    return outEnd_ != 0;
}

char* GzReader::gets(char* buffer, size_t size)
{
    if (size == 0)
        return nullptr;
    size_t length = 0;
    while (length + 1 < size && available()) {
        const char* from = out_.get() + outStart_;
        size_t take = outEnd_ - outStart_;
        if (take > size - 1 - length)
            take = size - 1 - length;
        const void* lineEnd = memchr(from, '\n', take);
        if (lineEnd != nullptr)
            take = size_t(static_cast<const char*>(lineEnd) - from) + 1;
        memcpy(buffer + length, from, take);
        length += take;
        outStart_ += take;
        if (lineEnd != nullptr)
            break;
    }
    buffer[length] = '\0';
    return length != 0 ? buffer : nullptr;
}

int GzReader::getc() { return available() ? static_cast<unsigned char>(out_[outStart_++]) : -1; }

int GzReader::read(void* buffer, size_t length)
{
    size_t got = 0;
    while (got < length && available()) {
        size_t take = outEnd_ - outStart_;
        if (take > length - got)
            take = length - got;
        memcpy(static_cast<char*>(buffer) + got, out_.get() + outStart_, take);
        got += take;
        outStart_ += take;
    }
    // As gzread: a stream cut short gives what it held; a damaged one nothing, when it held
    // nothing before the damage.
    if (got == 0 && error_ != Z_OK && error_ != Z_BUF_ERROR)
        return -1;
    return int(got);
}

GzReplacingWriter::GzReplacingWriter(const char* target)
    : file_(nullptr)
{
    const int written = snprintf(temporary_, sizeof temporary_, "%s.tmp", target);
    if (written < 0 || size_t(written) >= sizeof temporary_ || strlen(target) >= sizeof target_) {
        target_[0] = temporary_[0] = '\0';
        return;
    }
    strcpy(target_, target);
    file_ = gzopen(temporary_, "wb9");
}

GzReplacingWriter::~GzReplacingWriter()
{
    if (file_ != nullptr) {
        gzclose(file_);
        remove(temporary_);
    }
}

bool GzReplacingWriter::commit()
{
    if (file_ == nullptr)
        return false;
    const int closed = gzclose(file_);
    file_ = nullptr;
    if (failed_ || closed != Z_OK || !replaceFile(temporary_, target_)) {
        remove(temporary_);
        return false;
    }
    return true;
}
