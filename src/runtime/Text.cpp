#include "runtime/Text.h"

#include <cstdlib>
#include <cstring>

TText::TText() : FData(nullptr), FLength(0), FCapacity(0) {}

TText::TText(const char* text) : TText() { *this += text; }

TText::TText(const char* text, int length) : TText() { Append(text, length); }

TText::TText(const TText& other) : TText() { Append(other.FData, other.FLength); }

TText::TText(TText&& other) noexcept
    : FData(other.FData), FLength(other.FLength), FCapacity(other.FCapacity)
{
    other.FData = nullptr;
    other.FLength = 0;
    other.FCapacity = 0;
}

TText::~TText() { std::free(FData); }

TText& TText::operator=(const TText& other)
{
    if (this != &other) {
        // Cleared with its terminator: appending nothing would leave the old bytes
        // readable through CStr().
        Clear();
        Append(other.FData, other.FLength);
    }
    return *this;
}

TText& TText::operator=(TText&& other) noexcept
{
    if (this != &other) {
        std::free(FData);
        FData = other.FData;
        FLength = other.FLength;
        FCapacity = other.FCapacity;
        other.FData = nullptr;
        other.FLength = 0;
        other.FCapacity = 0;
    }
    return *this;
}

TText& TText::operator=(const char* text)
{
    // The source may lie inside this text's own buffer, so copy before truncating.
    TText copy(text);
    return *this = static_cast<TText&&>(copy);
}

void TText::Reserve(int capacity)
{
    if (capacity <= FCapacity)
        return;
    int grown = FCapacity + FCapacity / 2;
    if (grown < capacity)
        grown = capacity;
    char* data = static_cast<char*>(std::realloc(FData, static_cast<size_t>(grown) + 1));
    if (!data)
        std::abort();
    FData = data;
    FCapacity = grown;
}

char* TText::Data()
{
    Reserve(FLength > 0 ? FLength : 1);
    FData[FLength] = '\0';
    return FData;
}

void TText::Resize(int length)
{
    if (length < 0)
        length = 0;
    Reserve(length > 0 ? length : 1);
    if (length > FLength)
        std::memset(FData + FLength, 0, static_cast<size_t>(length - FLength));
    FLength = length;
    FData[FLength] = '\0';
}

void TText::Clear() { Resize(0); }

TText& TText::Append(const char* text, int length)
{
    if (!text || length <= 0)
        return *this;
    if (FData && text >= FData && text < FData + FCapacity + 1) {
        // Appending a part of itself: the buffer may move when it grows.
        TText copy(text, length);
        return Append(copy.FData, copy.FLength);
    }
    Reserve(FLength + length);
    std::memcpy(FData + FLength, text, static_cast<size_t>(length));
    FLength += length;
    FData[FLength] = '\0';
    return *this;
}

TText& TText::operator+=(const TText& other) { return Append(other.FData, other.FLength); }

TText& TText::operator+=(const char* text)
{
    return text ? Append(text, static_cast<int>(std::strlen(text))) : *this;
}

TText& TText::operator+=(char c) { return Append(&c, 1); }

char TText::At(int pos) const { return pos >= 1 && pos <= FLength ? FData[pos - 1] : '\0'; }

TText TText::Left(int n) const { return TText(FData, n < FLength ? n : FLength); }

int TText::Find(char c, int from) const
{
    for (int i = from < 0 ? 0 : from; i < FLength; ++i)
        if (FData[i] == c)
            return i;
    return -1;
}

bool TText::operator==(const TText& other) const
{
    return FLength == other.FLength && (FLength == 0 || std::memcmp(FData, other.FData, FLength) == 0);
}

bool TText::operator==(const char* text) const
{
    const char* s = text ? text : "";
    return std::strlen(s) == static_cast<size_t>(FLength) && std::memcmp(CStr(), s, FLength) == 0;
}

TText operator+(const TText& a, const TText& b) { return TText(a) += b; }
TText operator+(const TText& a, const char* b) { return TText(a) += b; }
TText operator+(const char* a, const TText& b) { return TText(a) += b; }
