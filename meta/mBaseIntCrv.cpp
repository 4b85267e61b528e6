#include "meta/mBaseIntCrv.h"

#include "meta/metaTree.h"

std::int64_t mBaseIntCrvC::pointCount() const {
    std::int64_t n = 0;
    for (const metaTreeC* c = node() ? node()->firstChild() : nullptr; c; c = c->nextSibling())
        if (c->isKey("POINT")) ++n;
    return n;
}
