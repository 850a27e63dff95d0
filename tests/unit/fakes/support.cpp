#include "support.h"

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

std::string readGzipFile(const std::string& path)
{
    std::string content;
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr)
        return content;
    char buffer[65536];
    int count;
    while ((count = gzread(file, buffer, sizeof buffer)) > 0)
        content.append(buffer, size_t(count));
    gzclose(file);
    return content;
}

void writeGzipFile(const std::string& path, const std::string& content)
{
    gzFile file = gzopen(path.c_str(), "wb9");
    if (file == nullptr)
        return;
    if (!content.empty())
        gzwrite(file, content.data(), unsigned(content.size()));
    gzclose(file);
}

void writePlainFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string readPlainFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
