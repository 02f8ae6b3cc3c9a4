#include "profile/BackgroundId.h"

#include <cctype>

std::string backgroundIdOf(const std::string& name)
{
    std::string id = name;
    for (char& c : id)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (id.size() > 4 && id.compare(id.size() - 4, 4, ".png") == 0)
        id.erase(id.size() - 4);
    return id;
}

bool isUsableBackgroundId(const std::string& id)
{
    if (id.empty() || id.size() > kMaxBackgroundIdLength)
        return false;
    for (char c : id)
        if (!(std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

std::string backgroundFileOf(const std::string& id)
{
    return id + ".png";
}

std::string backgroundTextKeyOf(const std::string& id)
{
    std::string key = id;
    if (!key.empty())
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    return key;
}
