// The practice deck: the first 20 cards of a freshly shuffled deck, one token
// a line, in "data.in" in the current directory. Nothing reads it back.
#pragma once

namespace zarvel {

// Replaces "data.in" when it is a regular file or does not exist yet. A file
// that cannot be written, or anything else standing at that name, is
// silently left alone: the game does not depend on it.
void genereaza_pachet();

}  // namespace zarvel
