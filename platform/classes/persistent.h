// Moved to the runtime layer; kept while dependants update their includes.
#pragma once
#include "rtl/persistent.h"
