#pragma once
// Boards as text: what a board (or a part of one: route, step, cell) writes with SaveToStream,
// a board read back from such text, a board's description, and the CRLF lines of a record.

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// What `item.SaveToStream` writes.
template <class T> std::string SaveToText(T& item)
{
    std::ostringstream out(std::ios::binary);
    item.SaveToStream(out);
    return out.str();
}

// What the items write one after the other, as a board file holds them.
template <class T> std::string SaveToText(std::vector<T>& items)
{
    std::ostringstream out(std::ios::binary);
    for (T& item : items) item.SaveToStream(out);
    return out.str();
}

// A fresh `T` that has read `text` with LoadFromStream.
template <class T> T LoadFromText(const std::string& text)
{
    T item;
    std::istringstream in(text, std::ios::binary);
    item.LoadFromStream(in);
    return item;
}

// The description of a board, as DisplayBoard gives it line by line.
template <class T> std::vector<std::string> DescriptionLines(T& board)
{
    std::vector<std::string> lines;
    board.DisplayBoard(lines);
    return lines;
}

// The lines of a record, split at CRLF; a last line without CRLF counts as a line.
std::vector<std::string> CrlfLines(const std::string& text);

// The whole content of a file, byte for byte ("" when it cannot be read).
std::string ReadFileText(const std::filesystem::path& path);

// The shipped example board file data/examples/<name>, which holds what the save code writes for
// the boards it describes, `text`. With RAILSCOPE_WRITE_EXAMPLES=1 set it is written from `text`
// first, to bring it up to date after a deliberate change.
std::string ExampleFileText(const std::string& name, const std::string& text);
