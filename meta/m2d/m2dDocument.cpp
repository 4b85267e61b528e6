#include "meta/m2d/m2dDocument.h"

#include "meta/metaPrototypeBinding.h"

metaClassRegistryC*& m2dDocumentC::registry() {
    static metaClassRegistryC* documents = nullptr;  // constant-initialised: safe at any load order
    return documents;
}

m2dDocumentC* m2dDocumentC::forwardTarget() const {
    if (!isKeyNode()) return nullptr;
    m2dDocumentC* prototype = metaClassRegistryC::findAs<m2dDocumentC>(registry(), keyName());
    return prototype == this ? nullptr : prototype;
}

int m2dDocumentC::approximateItems(int mode, const std::vector<std::string>& keys) const {
    if (m2dDocumentC* prototype = forwardTarget()) {
        metaPrototypeBindingC binding(*prototype, node());
        return prototype->approximateItems(mode, keys);
    }
    return 0;
}

int m2dDocumentC::changeUnitBase(double unitBase) const {
    if (m2dDocumentC* prototype = forwardTarget()) {
        metaPrototypeBindingC binding(*prototype, node());
        return prototype->changeUnitBase(unitBase);
    }
    return 0;
}
