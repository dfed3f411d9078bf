#include "boards/HeldValues.h"

std::string THeldValue::Place() const
{
    return Part.empty() ? Item : Part + ", " + Item;
}

void THeldValues::AddSplit(std::string item, std::string subject, std::string rest)
{
    Values.push_back({Part, std::move(item), std::move(subject), std::move(rest)});
}

void THeldValues::AddCondition(std::string item, const std::string& text)
{
    const size_t state = text.find(" is ");
    if (state == std::string::npos)
        Add(std::move(item), text);
    else
        AddSplit(std::move(item), text.substr(0, state), text.substr(state));
}
