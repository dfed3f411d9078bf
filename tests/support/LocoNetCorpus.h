#pragma once
// Reads the corpus of real LocoNet messages kept with the test support (data/loconet-corpus.txt):
// one message per line as hex bytes, a tab, and the source's own description.

#include <cstdint>
#include <string>
#include <vector>

namespace testcorpus {

struct Entry {
    std::string hex;
    std::vector<uint8_t> bytes;
    std::string note;
};

std::vector<Entry> LoadLocoNetCorpus();

} // namespace testcorpus
