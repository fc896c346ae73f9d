// A component reaching up into the control: must be refused.
#include "morvanel/shell/ctr_urssaf.h"
