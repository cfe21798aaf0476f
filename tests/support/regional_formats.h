// The regional formats whose writing of numbers Calculate must read back: grouping by blanks,
// points, apostrophes, narrow blanks and commas, in threes and in twos, native digits, negative
// signs led by direction marks, and no grouping at all.
#pragma once

inline constexpr const char* RegionalFormats[] = {"bg_BG", "de_DE", "de_CH", "fr_FR", "en_US",
                                                  "en_IN", "ar_EG", "fa_IR", "he_IL", "C"};
