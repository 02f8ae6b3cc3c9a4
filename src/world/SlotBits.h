#pragma once
// One bit a slot, set while the slot is in use, for the passes that must
// visit the used slots of a large table in order and skip the rest.
#include <array>
#include <cstdint>

template <int Slots> class SlotBits {
    static_assert(Slots % 64 == 0);

public:
    void set(int slot, bool used)
    {
        const uint64_t bit = uint64_t{1} << (slot % 64);
        if (used)
            words_[slot / 64] |= bit;
        else
            words_[slot / 64] &= ~bit;
    }

    // Calls visit(slot) for every used slot from `first` on, in order. A word
    // is read again after every visit, so a slot further on that a visit
    // takes into use is visited too, and one it frees is not.
    template <class Visit> void forEachUsed(int first, Visit visit) const
    {
        forEachUsed(
            first, [](int) {}, visit);
    }
    // The same, with beginWord(w) called before the slots 64w..64w+63 are
    // visited.
    template <class BeginWord, class Visit> void forEachUsed(int first, BeginWord beginWord, Visit visit) const
    {
        for (int word = first / 64; word < Slots / 64; ++word) {
            uint64_t used = words_[word];
            if (used)
                beginWord(word);
            if (word == first / 64)
                used &= ~uint64_t{0} << (first % 64);
            while (used) {
                const int bit = __builtin_ctzll(used);
                visit(word * 64 + bit);
                used = words_[word] & (~uint64_t{0} << bit << 1);
            }
        }
    }

    bool test(int slot) const { return (words_[slot / 64] >> (slot % 64)) & 1; }
    void clear() { words_.fill(0); }
    // Whether any of the slots 64w..64w+63 is in use.
    bool anyInWord(int word) const { return words_[word] != 0; }
    // The slots 64w..64w+63, one bit each.
    uint64_t word(int word) const { return words_[word]; }

private:
    std::array<uint64_t, Slots / 64> words_{};
};
