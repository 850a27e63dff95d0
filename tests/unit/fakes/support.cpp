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

std::string logBlock(unsigned day, unsigned time, unsigned dur, unsigned rx, unsigned rxp, unsigned tx, unsigned txp)
{
    return "<log>\r\n\t<day>" + std::to_string(day) + "</day>\r\n\t<time>" + std::to_string(time) + "</time>\r\n\t<dur>"
        + std::to_string(dur) + "</dur>\r\n\t<rx>" + std::to_string(rx) + "</rx>\r\n\t<rxp>" + std::to_string(rxp)
        + "</rxp>\r\n\t<tx>" + std::to_string(tx) + "</tx>\r\n\t<txp>" + std::to_string(txp) + "</txp>\r\n</log>\r\n";
}
