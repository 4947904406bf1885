// ParseInteger against a model of its grammar written apart from it (tools/run-fuzz.sh).
#include "job/JobSettings.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// The value of s[i] as a digit of base; -1 for any other byte and past the end.
static int Digit(const char* s, int n, int i, int base)
{
    static const char digits[] = "0123456789abcdef0123456789ABCDEF";
    const char* at = i < n && s[i] ? std::strchr(digits, s[i]) : nullptr;
    const int value = at ? static_cast<int>(at - digits) % 16 : base;
    return value < base ? value : -1;
}

// Leading spaces, one optional sign, then decimal digits or "$", "x", "X", "0x" or
// "0X" and hex digits, and nothing after: 0 with the value, or the 1-based position
// of the first byte that does not fit.
static int Model(const char* s, int n, int& value)
{
    int i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    const bool negative = i < n && s[i] == '-';
    i += i < n && (s[i] == '-' || s[i] == '+');
    int base = 16;
    if (i < n && s[i] && std::strchr("$xX", s[i]))
        i += 1;
    else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X'))
        i += 2;
    else
        base = 10;
    if (Digit(s, n, i, base) < 0)
        return i + 1;
    // Hexadecimal: a 32-bit pattern. Decimal: within the signed 32-bit range.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 2147483648u : 2147483647u;
    uint64_t magnitude = 0;
    for (; Digit(s, n, i, base) >= 0; ++i)
        if ((magnitude = magnitude * base + Digit(s, n, i, base)) > limit)
            return i + 1;
    if (i < n)
        return i + 1;
    value = static_cast<int>(static_cast<uint32_t>(negative ? 0 - magnitude : magnitude));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A failed parse leaves the value alone, so both keep the seed.
    int expected = 0x5EED, got = 0x5EED;
    const int code = Model(reinterpret_cast<const char*>(data), static_cast<int>(size), expected);
    if (ParseInteger(TText(reinterpret_cast<const char*>(data), static_cast<int>(size)), got) != code || got != expected)
        std::abort();
    return 0;
}
