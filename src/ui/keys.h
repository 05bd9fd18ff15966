#pragma once

// The character codes the fields' key handlers see (a key's character, as KeyPress handlers receive it), and the
// key filter that several fields share.

namespace keys {

constexpr int Backspace = 8;
constexpr int Enter = 13;
constexpr int Comma = 44;
constexpr int Point = 46;

// Codes above 'Z' are lowered by 32: lower-case letters become capitals, and so do the characters after them
// ("_" becomes "?", a Latin-1 "é" becomes "É").
constexpr int raised(int code)
{
    return code > 'Z' ? code - 32 : code;
}

} // namespace keys
