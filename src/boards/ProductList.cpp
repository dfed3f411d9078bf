#include "boards/ProductList.h"
#include "boards/ShippedFiles.h"
#include "link/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <fstream>

TProductList::TProductList()
{
    SetQuoteStrings(true);
    const std::string fileName = shipped::FindFile(kFileName);
    if (fileName.empty()) {
        LastError = std::string("Could not find the program's folder to read ") + kFileName;
        return;
    }
    Read(fileName);
}

TProductList::TProductList(const std::string& fileName)
{
    SetQuoteStrings(true);
    Read(fileName);
}

std::string TProductList::ProgramFolder()
{
    return shipped::ProgramFolder();
}

void TProductList::Read(const std::string& fileName)
{
    errno = 0;
    std::ifstream in(PathFromUtf8(fileName), std::ios::binary);
    if (!in) {
        const int code = errno;
        LastError = "Could not open " + fileName + ": " +
                    (code != 0 ? std::string(std::strerror(code)) : std::string("cannot be read"));
        return;
    }
    ReadLine(in);
    const int count = GetNumber(1);
    ReadLine(in); // column headings
    for (int i = 0; i < count; ++i) {
        if (in.peek() == std::char_traits<char>::eof()) {
            LastError =
                fileName + " names " + std::to_string(count) + " products but holds " + std::to_string(Rows.size());
            break;
        }
        ReadLine(in);
        TRow row;
        row.ProductName = GetText(0);
        row.ProductId = static_cast<uint32_t>(GetNumber(1));
        row.ManufacturerName = GetText(2);
        row.ManufacturerId = static_cast<uint32_t>(GetNumber(3));
        row.Description = GetText(4);
        Rows.push_back(std::move(row));
    }
}
