// An include the layer matrix forbids: the check must fail on this tree.
#include "ini/BigIni.h"
#include "app/Config.h"
