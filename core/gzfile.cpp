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
