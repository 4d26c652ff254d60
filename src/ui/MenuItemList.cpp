#include "ui/MenuItemList.h"

namespace Corvell {

String MenuDisplayText(const String& text) {
    String out;
    for (const char* p = text.c_str(); *p; ++p) {
        if (*p == '&')
            out += "&&";
        else if (*p == '\t')
            out += ' ';
        else
            out += *p;
    }
    return out;
}

} // namespace Corvell
