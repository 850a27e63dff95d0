#pragma once
// Paths of the runnable tree (build/win/dist) as the Windows side sees them.
#include <string>

// `name` inside the dist folder, with a Unix build path mapped onto Wine's Z: drive.
inline std::string distPath(const char* name)
{
    std::string path = TELVANE_DIST_DIR;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path + "\\" + name;
}
