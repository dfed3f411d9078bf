#include "support/BoardText.h"

#include <cstdlib>
#include <fstream>

std::vector<std::string> CrlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ExampleFileText(const std::string& name, const std::string& text)
{
    const std::string path = std::string(RAILSCOPE_SOURCE_DIR) + "/data/examples/" + name;
    if (const char* write = std::getenv("RAILSCOPE_WRITE_EXAMPLES"); write != nullptr && std::string(write) == "1")
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return ReadFileText(path);
}
