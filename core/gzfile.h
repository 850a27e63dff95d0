#pragma once
// Scoped gzip files. Writing always goes to a temporary file beside the target, which
// replaces the target only when every byte has been written and the stream closed, so a
// failed, interrupted or full-disk write keeps the previous file whole.
#include <zlib.h>

// True when nothing is at `path` (a first start), false when a file is there, readable or not.
bool isMissingFile(const char* path);

// True when the file at `path` can be opened for reading.
bool isReadableFile(const char* path);

class GzReader {
public:
    explicit GzReader(const char* path)
        : file_(gzopen(path, "rb"))
    {
    }
    ~GzReader()
    {
        if (file_ != nullptr)
            gzclose(file_);
    }
    GzReader(const GzReader&) = delete;
    GzReader& operator=(const GzReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    gzFile get() const { return file_; }

    enum class Content { gzip, notGzip, unreadable };

    // What the file holds. A file that does not begin with a gzip header (an empty one
    // included) is notGzip: zlib's reader would hand it over byte for byte as if it were the
    // content. `unreadable` when the system cannot read it at all.
    Content content() const
    {
        const bool direct = gzdirect(file_) != 0;
        int error = Z_OK;
        gzerror(file_, &error);
        if (error == Z_ERRNO)
            return Content::unreadable;
        return direct ? Content::notGzip : Content::gzip;
    }

private:
    gzFile file_;
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
