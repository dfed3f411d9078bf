#pragma once
// Reads the corpus of real LocoNet messages kept beside the link tests: one message per line as
// hex bytes, a tab, and the source's own description.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testcorpus {

struct Entry {
    std::string hex;
    std::vector<uint8_t> bytes;
    std::string note;
};

inline std::vector<Entry> LoadLocoNetCorpus()
{
    std::vector<Entry> entries;
    std::ifstream in(RAILSCOPE_SOURCE_DIR "/tests/link/data/loconet-corpus.txt", std::ios::binary);
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
