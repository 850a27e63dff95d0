#pragma once
// Scoped gzip files. Writing always goes to a temporary file beside the target, which
// replaces the target only when every byte has been written and the stream closed, so a
// failed, interrupted or full-disk write keeps the previous file whole.
#include <zlib.h>

#include <memory>
#include <string>

#include "core/platform.h"

// True when nothing is at `path` (a first start), false when a file is there, readable or not.
bool isMissingFile(const char* path);

// True when the file at `path` can be opened for reading.
bool isReadableFile(const char* path);

// A gzip file read whole into memory at once and decompressed from there, so the file itself
// is open only for that moment (and then shared for replacing; see readWholeFile). Reads like
// zlib's gzgets, gzgetc and gzread, from a stream of one or more gzip members.
class GzReader {
public:
    explicit GzReader(const char* path);
    ~GzReader();
    GzReader(const GzReader&) = delete;
    GzReader& operator=(const GzReader&) = delete;

    bool isOpen() const { return read_ != FileRead::cannotOpen; }

    enum class Content { gzip, notGzip, unreadable };

    // What the file holds. A file that does not begin with a gzip header (an empty one
    // included) is notGzip: zlib's reader would hand it over byte for byte as if it were the
    // content. `unreadable` when the system cannot read it at all.
    Content content() const;

    // Up to size - 1 bytes, through the first line end, and a NUL; null when nothing is left or
    // the stream is damaged.
    char* gets(char* buffer, size_t size);
    // The next byte, or -1 when nothing is left or the stream is damaged.
    int getc();
    // Up to `length` bytes; fewer at the end, -1 when the stream is damaged before the first.
    int read(void* buffer, size_t length);
    // Z_OK, Z_DATA_ERROR for a damaged stream, Z_BUF_ERROR for one cut short, Z_ERRNO when the
    // file could not be read.
    int error() const { return error_; }

private:
    // Decompresses the next part into the output buffer; false when nothing more comes.
    bool fill();
    bool available() { return outStart_ < outEnd_ || fill(); }

    FileRead read_;
    std::string compressed_;
    z_stream stream_ {};
    bool started_ = false;
    bool ended_ = false;
    int error_ = Z_OK;
    std::unique_ptr<char[]> out_;
    size_t outStart_ = 0;
    size_t outEnd_ = 0;
};

class GzReplacingWriter {
public:
    // Opens "<target>.tmp" for writing with mode "wb9".
    explicit GzReplacingWriter(const char* target);
    ~GzReplacingWriter();
    GzReplacingWriter(const GzReplacingWriter&) = delete;
    GzReplacingWriter& operator=(const GzReplacingWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    gzFile get() const { return file_; }

    // Remembers that a write went wrong, so commit keeps the old file.
    void markFailed() { failed_ = true; }

    // Closes the stream and moves the temporary file over the target. False (the target
    // untouched, the temporary file removed) when any write or the close failed.
    bool commit();

private:
    gzFile file_;
    bool failed_ = false;
    char target_[260];
    char temporary_[264];
};
