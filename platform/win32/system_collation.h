#pragma once
#include "collation.h"

// The system's collation for the user's language, ignoring case: on a
// Chinese system, Chinese text by pronunciation, as Explorer shows it.
const Collation& SystemCollation();
