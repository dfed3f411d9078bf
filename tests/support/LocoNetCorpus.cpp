#include "support/LocoNetCorpus.h"

#include <fstream>

namespace testcorpus {

std::vector<Entry> LoadLocoNetCorpus()
{
    std::vector<Entry> entries;
    std::ifstream in(RAILSCOPE_LOCONET_CORPUS, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        Entry e;
        const size_t tab = line.find('\t');
        e.hex = line.substr(0, tab);
        if (tab != std::string::npos) e.note = line.substr(tab + 1);
        size_t pos = 0;
        while (pos < e.hex.size()) {
            size_t used = 0;
            e.bytes.push_back(static_cast<uint8_t>(std::stoul(e.hex.substr(pos), &used, 16)));
            pos += used;
            while (pos < e.hex.size() && e.hex[pos] == ' ') ++pos;
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace testcorpus
