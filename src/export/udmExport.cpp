#include "export/udmExport.h"

TdmExport* dmExport = nullptr;
