// An include the layer matrix forbids: the check must fail on this tree.
#include "app/Config.h"
#include "ini/BigIni.h"
