#include "dialog/dialog_table.h"

const DialogNode dialogTable[dialogNodeCount] = {};
