// What the pictures need of GS1 element strings: how long an application identifier is, and how
// long its whole element is where GS1 fixes it, both by the identifier's first two digits.
#pragma once

namespace velmora::preview {

inline int gs1IdentifierLength(int firstTwo) {
    if (firstTwo <= 22 || firstTwo == 30 || firstTwo == 37 || firstTwo >= 90) return 2;
    if ((firstTwo >= 23 && firstTwo <= 25) || (firstTwo >= 40 && firstTwo <= 42) || firstTwo == 71) return 3;
    return 4;
}

// Identifier and data together; 0 when the data's length varies (a separator ends it).
inline int gs1FixedLength(int firstTwo) {
    switch (firstTwo) {
        case 0: return 20;
        case 1: case 2: case 3: return 16;
        case 4: return 18;
        case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18: case 19: return 8;
        case 20: return 4;
        case 31: case 32: case 33: case 34: case 35: case 36: return 10;
        case 41: return 16;
        default: return 0;
    }
}

}  // namespace velmora::preview
