#pragma once

// The character codes the fields' key handlers see (a key's character, as KeyPress handlers receive it), and the
// key filter that several fields share.

namespace keys {

constexpr int Backspace = 8;
constexpr int Enter = 13;
constexpr int Comma = 44;
constexpr int Point = 46;

// The capital of a typed character's code, as the fields' handlers make it: codes above 'Z' less 32, so lower-case
// letters become capitals, and so do the characters after them ("_" becomes "?", a Latin-1 "é" becomes "É").
constexpr int capital(int code)
{
    return code > 'Z' ? code - 32 : code;
}

} // namespace keys
