#include "boards/HeldValues.h"

std::string THeldValue::Place() const
{
    return Part.empty() ? Item : Part + ", " + Item;
}

void THeldValues::AddSplit(const std::string& item, const std::string& subject, const std::string& rest)
{
    Values.push_back({Part, item, subject, rest});
}

void THeldValues::AddCondition(const std::string& item, const std::string& text)
{
    const size_t state = text.find(" is ");
    if (state == std::string::npos)
        Add(item, text);
    else
        AddSplit(item, text.substr(0, state), text.substr(state));
}
