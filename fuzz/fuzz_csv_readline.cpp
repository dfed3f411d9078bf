// Arbitrary bytes through the CSV line reader: every line is read, its fields are read back as
// text and numbers, and writing a line must give a line the reader splits into as many fields
// when no field holds a quote, comma or line break.
#include "boards/CsvIo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
    TCsvIo io;
    io.SetQuoteStrings(size > 0 && (data[0] & 1) != 0);
    size_t lines = 0;
    while (in.peek() != std::char_traits<char>::eof()) {
        if (++lines > size + 1) std::abort(); // every line consumes at least one byte
        const size_t count = io.ReadLine(in);
        if (count != io.FieldCount()) std::abort();
        bool plain = true;
        for (size_t i = 0; i < count; ++i) {
            const std::string text = io.GetText(i);
            (void)io.GetNumber(i);
            if (text.find_first_of("\",\r\n") != std::string::npos) plain = false;
        }
        (void)io.GetText(count + 3);
        std::ostringstream out;
        io.WriteLine(out);
        if (plain) {
            TCsvIo again;
            std::istringstream back(out.str());
            if (again.ReadLine(back) != io.FieldCount()) std::abort();
        }
    }
    return 0;
}
