#ifndef LONGESTNAMES_H
#define LONGESTNAMES_H

#include "address/namedaddresses.h"

// A name of the most characters a name may have in every cell: one word in every other cell,
// words of 5 to 12 letters in the rest.
Names longestNames();

#endif
