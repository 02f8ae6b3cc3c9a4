#pragma once
// One purchase as the shop windows hand it to the profile, by value.
#include <cstdint>
#include <cstring>

struct ShopItem {
    char name[64] = {};    // NUL-terminated id text (element name or background id)
    int32_t price = 0;     // mana
    int32_t category = 0;  // 0 element, 1 background, 2 mana pack
    uint8_t flag = 0;
    int32_t index = 0;

    // Copies text into name, always leaving a terminator.
    void setName(const char* text)
    {
        std::memset(name, 0, sizeof(name));
        if (text)
            std::strncpy(name, text, sizeof(name) - 1);
    }
};
