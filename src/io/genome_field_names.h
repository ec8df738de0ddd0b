#pragma once

namespace morvane::field_names {

// Names of a genome's fields as refusals of a file name them, [part][field of the line]. Cell
// blocks and strategy blocks read the same fields, so they name them alike.
inline constexpr const char* kCurveFirst[2][3] = {{"Y0 (part 0)", "X1 (part 0)", "Y1 (part 0)"},
                                                  {"Y0 (part 1)", "X1 (part 1)", "Y1 (part 1)"}};
inline constexpr const char* kCurveSecond[2][3] = {{"X2 (part 0)", "Y2 (part 0)", "Y3 (part 0)"},
                                                   {"X2 (part 1)", "Y2 (part 1)", "Y3 (part 1)"}};
inline constexpr const char* kSen[2][3] = {{"SenIC (part 0)", "SenIA (part 0)", "SenIP (part 0)"},
                                           {"SenIC (part 1)", "SenIA (part 1)", "SenIP (part 1)"}};
inline constexpr const char* kVal[2][3] = {{"ValIC (part 0)", "ValIA (part 0)", "ValIP (part 0)"},
                                           {"ValIC (part 1)", "ValIA (part 1)", "ValIP (part 1)"}};
// [user colour, bug colour][component]
inline constexpr const char* kColour[2][3] = {{"Colores 0", "Colores 1", "Colores 2"},
                                              {"Colores 3", "Colores 4", "Colores 5"}};

}  // namespace morvane::field_names
