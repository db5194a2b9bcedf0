// String resources the framework's data exchange shows; a program using the
// exchange supplies them in its string table.
#pragma once

#define IDP_PARSE_INT_RANGE     61714   // "...%1...%2...": a number outside its range
#define IDP_PARSE_UINT          61719   // text that is no unsigned number
