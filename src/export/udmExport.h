#pragma once
// The card list export module (spreadsheet, CSV file, clipboard).
class TdmExport {
public:
    TdmExport() = default;
};

extern TdmExport* dmExport;
