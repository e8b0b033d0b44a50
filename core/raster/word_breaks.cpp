#include "core/raster/word_breaks.h"

namespace raster {

namespace {

// Tables read best as tables.
// clang-format off
// The line-break classes of the characters a Windows-1252 text can hold.
enum Class {
    BK, CR, LF, CM, GL, SP, ZW, NL, WJ, OP, CL, CP, QU, NS, EX, SY, IS, PR, PO, NU, AL, ID, IN, HY, BB, BA,
    B2, AI, HL, CB, JL, JV, JT, H2, H3, RI, XX
};

Class classOf(uint16_t c) {
    if (c >= 'A' && c <= 'Z') return AL;
    if (c >= 'a' && c <= 'z') return AL;
    if (c >= '0' && c <= '9') return NU;
    switch (c) {
        case 0x09: return BA;
        case 0x0A: return LF;
        case 0x0B: case 0x0C: return BK;
        case 0x0D: return CR;
        case 0x20: return SP;
        case '!': case '?': return EX;
        case '"': case '\'': return QU;
        case '$': case '+': case '\\': return PR;
        case '%': return PO;
        case '(': case '[': case '{': return OP;
        case ')': case ']': return CP;
        case '}': return CL;
        case ',': case '.': case ':': case ';': return IS;
        case '-': return HY;
        case '/': return SY;
        case '|': return BA;
        case 0x85: return NL;
        case 0xA0: return GL;
        case 0xA1: case 0xBF: return OP;
        case 0xA2: case 0xB0: return PO;
        case 0xA3: case 0xA4: case 0xA5: case 0xB1: return PR;
        case 0xA7: case 0xA8: case 0xAA: case 0xB2: case 0xB3: case 0xB6: case 0xB7: case 0xB8: case 0xB9:
        case 0xBA: case 0xBC: case 0xBD: case 0xBE: case 0xD7: case 0xF7: return AI;
        case 0xAB: case 0xBB: return QU;
        case 0xAD: return BA;
        case 0xB4: return BB;
        // What Windows-1252 puts in 0x80..0x9F.
        case 0x20AC: return PR;
        case 0x201A: case 0x201E: return OP;
        case 0x2026: return IN;
        case 0x2020: case 0x2021: case 0x2022: case 0x2122: return AI;
        case 0x2030: return PO;
        case 0x2039: case 0x203A: case 0x2018: case 0x2019: case 0x201C: case 0x201D: return QU;
        case 0x2013: return BA;
        case 0x2014: return B2;
        default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return CM;
    return AL;
}
// clang-format on

enum Decision : uint8_t { Undecided, Mandatory, Allowed, Prohibited };

}  // namespace

std::vector<bool> softBreaks(const std::vector<uint16_t>& text) {
    const int count = static_cast<int>(text.size());
    std::vector<bool> breaks(text.size(), false);
    if (count == 0) return breaks;
    std::vector<Class> cls(text.size());
    std::vector<Decision> before(text.size(), Undecided);
    for (int i = 0; i < count; ++i) cls[i] = classOf(text[i]);
    // The first rule that decides a position wins.
    auto decide = [&](int i, Decision d) {
        if (i < count && before[i] == Undecided) before[i] = d;
    };
    auto is = [&](int i, Class c) { return i >= 0 && i < count && cls[i] == c; };

    // Never before the first character; mandatory breaks and spaces.
    before[0] = Prohibited;
    for (int i = 0; i < count; ++i) {
        switch (cls[i]) {
            case CR:
                if (is(i + 1, LF)) {
                    decide(i, Prohibited);
                    decide(i + 1, Prohibited);
                    break;
                }
                [[fallthrough]];
            case LF:
            case NL:
            case BK:
                if (i < count - 1) decide(i + 1, Mandatory);
                decide(i, Prohibited);
                break;
            case SP: decide(i, Prohibited); break;
            case ZW:
                decide(i, Prohibited);
                while (is(i + 1, SP)) ++i;
                decide(i, Allowed);
                break;
            default: break;
        }
    }
    // Combining marks take the class of what they follow.
    for (int i = 0; i < count; ++i) {
        if (cls[i] != CM) continue;
        if (i == 0) {
            cls[i] = AL;
            continue;
        }
        const Class p = cls[i - 1];
        cls[i] = (p == SP || p == BK || p == CR || p == LF || p == NL || p == ZW) ? AL : p;
    }
    for (int i = 0; i < count; ++i) {
        switch (cls[i]) {
            case WJ:
                decide(i, Prohibited);
                decide(i + 1, Prohibited);
                break;
            case GL:
                decide(i + 1, Prohibited);
                if (i > 0 && !is(i - 1, SP) && !is(i - 1, BA) && !is(i - 1, HY)) decide(i, Prohibited);
                break;
            case CL:
            case CP:
            case EX:
            case IS:
            case SY: decide(i, Prohibited); break;
            case OP:
                while (is(i + 1, SP)) {
                    decide(i + 1, Prohibited);
                    ++i;
                }
                decide(i + 1, Prohibited);
                break;
            case QU: {
                int j = i + 1;
                while (j < count - 1 && cls[j] == SP) ++j;
                if (is(j, OP)) {
                    for (; j > i; --j) decide(j, Prohibited);
                }
                break;
            }
            case NS: {
                int j = i - 1;
                while (j > 0 && cls[j] == SP) --j;
                if (is(j, CL) || is(j, CP)) {
                    for (++j; j <= i; ++j) decide(j, Prohibited);
                }
                break;
            }
            case B2: {
                int j = i + 1;
                while (j < count && cls[j] == SP) ++j;
                if (is(j, B2)) {
                    for (; j > i; --j) decide(j, Prohibited);
                }
                break;
            }
            default: break;
        }
    }
    for (int i = 0; i < count; ++i) {
        const Class c = cls[i];
        switch (c) {
            case SP:
                if (i < count - 1) decide(i + 1, Allowed);
                break;
            case QU:
                decide(i, Prohibited);
                decide(i + 1, Prohibited);
                break;
            case CB:
                decide(i, Allowed);
                decide(i + 1, Allowed);
                break;
            case BA:
            case HY:
            case NS: decide(i, Prohibited); break;
            case BB: decide(i + 1, Prohibited); break;
            case HL:
                if (i < count - 2 && (is(i + 1, HY) || is(i + 1, BA))) decide(i + 2, Prohibited);
                break;
            case IN:
                if (is(i - 1, AL) || is(i - 1, HL) || is(i - 1, ID) || is(i - 1, IN) || is(i - 1, NU))
                    decide(i, Prohibited);
                break;
            default: break;
        }
        if (i >= count - 1) continue;
        const Class n = cls[i + 1];
        auto pair = [&](Class a, Class b) { return c == a && n == b; };
        const bool alphabetic = c == AL || c == HL;
        const bool nextAlphabetic = n == AL || n == HL;
        // Numbers, prefixes and postfixes stay with what they belong to.
        if (pair(ID, PO) || (alphabetic && n == NU) || (c == NU && nextAlphabetic)) decide(i + 1, Prohibited);
        if (pair(PR, ID) || (c == PR && nextAlphabetic) || (c == PO && nextAlphabetic)) decide(i + 1, Prohibited);
        if (pair(CL, PO) || pair(CP, PO) || pair(CL, PR) || pair(CP, PR) || pair(NU, PO) || pair(NU, PR) ||
            pair(PO, OP) || pair(PO, NU) || pair(PR, OP) || pair(PR, NU) || pair(HY, NU) || pair(IS, NU) ||
            pair(NU, NU) || pair(SY, NU))
            decide(i + 1, Prohibited);
        // Korean syllable blocks.
        if (c == JL && (n == JL || n == JV || n == H2 || n == H3)) decide(i + 1, Prohibited);
        if ((c == JV || c == H2) && (n == JV || n == JT)) decide(i + 1, Prohibited);
        if ((c == JT || c == H3) && n == JT) decide(i + 1, Prohibited);
        if ((c == JL || c == JV || c == JT || c == H2 || c == H3) && (n == IN || n == PO)) decide(i + 1, Prohibited);
        if (c == PR && (n == JL || n == JV || n == JT || n == H2 || n == H3)) decide(i + 1, Prohibited);
        // Words, and punctuation inside them.
        if (alphabetic && nextAlphabetic) decide(i + 1, Prohibited);
        if (c == IS && nextAlphabetic) decide(i + 1, Prohibited);
        if ((alphabetic || c == NU) && n == OP) decide(i + 1, Prohibited);
        if (c == CP && (nextAlphabetic || n == NU)) decide(i + 1, Prohibited);
        if (pair(RI, RI)) decide(i + 1, Prohibited);
    }
    // Everywhere else a break is allowed.
    for (int i = 0; i + 1 < count; ++i) decide(i + 1, Allowed);
    for (int i = 0; i < count; ++i) breaks[i] = before[i] != Prohibited;
    return breaks;
}

}  // namespace raster
