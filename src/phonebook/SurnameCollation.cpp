#include "phonebook/PhoneBook.h"

#include <algorithm>
#include <array>

namespace {

// This is where the order of surnames is decided, for the phone book list
// and so for the file. Each byte of code page 1252 gets a sort key:
// - letters come after everything else: A-Z without regard to case, then
//   Æ, Ø, Å, as the Norwegian alphabet has them;
// - Ä sorts as Æ, Ö as Ø and Ü as Y (as Norwegian dictionaries put them);
// - other accented Latin letters (é, è, ê, ë, á, à, ñ, ...) sort as their
//   base letter;
// - every other byte (digits, blanks, punctuation, other signs) sorts by its
//   byte value, before the letters, so digits come before letters.
constexpr int kLetterBase = 256;

int letterKey(char base)
{
    return kLetterBase + (base - 'a');
}

constexpr int kKeyAe = kLetterBase + 26; // Æ
constexpr int kKeyOe = kLetterBase + 27; // Ø
constexpr int kKeyAa = kLetterBase + 28; // Å

std::array<int, 256> buildSortKeys()
{
    std::array<int, 256> keys{};
    for (int byte = 0; byte < 256; ++byte)
        keys[size_t(byte)] = byte;
    for (char c = 'a'; c <= 'z'; ++c) {
        keys[size_t(static_cast<unsigned char>(c))] = letterKey(c);
        keys[size_t(static_cast<unsigned char>(c - 'a' + 'A'))] = letterKey(c);
    }

    // Upper and lower case of the letters above 0x7F, as code page 1252
    // bytes, with the key each sorts under.
    struct Letter
    {
        unsigned char upper;
        unsigned char lower;
        int key;
    };
    const Letter letters[] = {
        {0xC6, 0xE6, kKeyAe},         // Æ æ
        {0xD8, 0xF8, kKeyOe},         // Ø ø
        {0xC5, 0xE5, kKeyAa},         // Å å
        {0xC4, 0xE4, kKeyAe},         // Ä ä
        {0xD6, 0xF6, kKeyOe},         // Ö ö
        {0xDC, 0xFC, letterKey('y')}, // Ü ü
        {0xC0, 0xE0, letterKey('a')}, // À à
        {0xC1, 0xE1, letterKey('a')}, // Á á
        {0xC2, 0xE2, letterKey('a')}, // Â â
        {0xC3, 0xE3, letterKey('a')}, // Ã ã
        {0xC7, 0xE7, letterKey('c')}, // Ç ç
        {0xC8, 0xE8, letterKey('e')}, // È è
        {0xC9, 0xE9, letterKey('e')}, // É é
        {0xCA, 0xEA, letterKey('e')}, // Ê ê
        {0xCB, 0xEB, letterKey('e')}, // Ë ë
        {0xCC, 0xEC, letterKey('i')}, // Ì ì
        {0xCD, 0xED, letterKey('i')}, // Í í
        {0xCE, 0xEE, letterKey('i')}, // Î î
        {0xCF, 0xEF, letterKey('i')}, // Ï ï
        {0xD0, 0xF0, letterKey('d')}, // Ð ð
        {0xD1, 0xF1, letterKey('n')}, // Ñ ñ
        {0xD2, 0xF2, letterKey('o')}, // Ò ò
        {0xD3, 0xF3, letterKey('o')}, // Ó ó
        {0xD4, 0xF4, letterKey('o')}, // Ô ô
        {0xD5, 0xF5, letterKey('o')}, // Õ õ
        {0xD9, 0xF9, letterKey('u')}, // Ù ù
        {0xDA, 0xFA, letterKey('u')}, // Ú ú
        {0xDB, 0xFB, letterKey('u')}, // Û û
        {0xDD, 0xFD, letterKey('y')}, // Ý ý
        {0x9F, 0xFF, letterKey('y')}, // Ÿ ÿ
        {0x8A, 0x9A, letterKey('s')}, // Š š
        {0x8E, 0x9E, letterKey('z')}, // Ž ž
        {0x8C, 0x9C, letterKey('o')}, // Œ œ
    };
    for (const Letter& letter : letters) {
        keys[letter.upper] = letter.key;
        keys[letter.lower] = letter.key;
    }
    return keys;
}

int sortKey(char c)
{
    static const std::array<int, 256> keys = buildSortKeys();
    return keys[static_cast<unsigned char>(c)];
}

} // namespace

int compareSurnames(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int difference = sortKey(a[i]) - sortKey(b[i]);
        if (difference != 0)
            return difference;
    }
    // A name that is the beginning of another sorts first.
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
