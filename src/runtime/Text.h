// TText: the program's 8-bit text. A plain value type over a heap buffer that is
// always NUL-terminated, so CStr() can go straight to the ANSI Windows calls.
// It never throws; the shipped program aborts on a failed allocation.
#pragma once

class TText {
public:
    TText();
    TText(const char* text);
    TText(const char* text, int length);
    TText(const TText& other);
    TText(TText&& other) noexcept;
    ~TText();

    TText& operator=(const TText& other);
    TText& operator=(TText&& other) noexcept;
    TText& operator=(const char* text);

    int Length() const { return FLength; }
    bool IsEmpty() const { return FLength == 0; }
    const char* CStr() const { return FData ? FData : ""; }

    // Writable access to the Length() bytes (for Windows calls that fill a buffer).
    char* Data();
    // New length; new bytes are zero. Shrinking keeps the first bytes.
    void Resize(int length);
    void Clear();

    TText& operator+=(const TText& other);
    TText& operator+=(const char* text);
    TText& operator+=(char c);
    TText& Append(const char* text, int length);

    // The byte at 1-based position pos, or 0 when pos is outside the text.
    char At(int pos) const;
    // The first n bytes, or the whole text when it is shorter.
    TText Left(int n) const;
    // The first byte equal to c at or after index from (0-based), or -1.
    int Find(char c, int from = 0) const;

    bool operator==(const TText& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const TText& other) const { return !(*this == other); }
    bool operator!=(const char* text) const { return !(*this == text); }

private:
    void Reserve(int capacity);

    char* FData;
    int FLength;
    int FCapacity;
};

TText operator+(const TText& a, const TText& b);
TText operator+(const TText& a, const char* b);
TText operator+(const char* a, const TText& b);
