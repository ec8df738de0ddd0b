#pragma once

#include <cstdint>

namespace morvane {

// The move record a cell keeps of each encounter of the generation (Jugadas(cell, slot)):
//
//   bits 0..11 partner cell | 12 role (0 player 1, 1 player 2) | 13..20 the partner's slot of the
//   same encounter | 21 zero | 22 this cell's trigger fired | 23 zero | 24 decided with half 0 |
//   25 decided with half 1 | 26..31 zero
namespace moveRecord {

constexpr std::int32_t kPartnerMask = 0xFFF;
constexpr std::int32_t kRoleBit = 1 << 12;
constexpr std::int32_t kPartnerSlotMask = 0xFF << 13;
constexpr std::int32_t kFiredBit = 1 << 22;
constexpr std::int32_t kHalf0Bit = 1 << 24;
constexpr std::int32_t kHalf1Bit = 1 << 25;

inline int partner(std::int32_t r) {
    return r & kPartnerMask;
}
inline int role(std::int32_t r) {
    return (r & kRoleBit) != 0 ? 1 : 0;
}
inline int partnerSlot(std::int32_t r) {
    return (r & kPartnerSlotMask) >> 13;
}
inline bool fired(std::int32_t r) {
    return (r & kFiredBit) != 0;
}
inline int half(std::int32_t r) {
    return (r & kHalf1Bit) != 0 ? 1 : 0;
}

// The bits that name the partner and its slot of the same encounter.
inline std::int32_t partnerBits(int partner, int partnerSlot) {
    return (partner & kPartnerMask) | ((partnerSlot << 13) & kPartnerSlotMask);
}
// The same for a partner of at most kPartnerMask and a slot of at most 255, which need no masks.
inline std::int32_t partnerBitsInRange(int partner, int partnerSlot) {
    return partner | partnerSlot << 13;
}
// The bits of the record's own cell: its role, whether its trigger fired, the half it decided with.
inline std::int32_t ownBits(int role, bool fired, int half) {
    return (role != 0 ? kRoleBit : 0) | (fired ? kFiredBit : 0) |
           (half != 0 ? kHalf1Bit : kHalf0Bit);
}

inline std::int32_t make(int partner, int role, int partnerSlot, bool fired, int half) {
    return partnerBits(partner, partnerSlot) | ownBits(role, fired, half);
}

}  // namespace moveRecord

}  // namespace morvane
