#include "meta/m2d/m2dHatchList.h"

std::int64_t m2dHatchListC::numberHatches() const {
    const std::int64_t hatches = count();
    for (std::int64_t h = 0; h < hatches; ++h) {
        const m2dHatchLoopListC loops = item(h).loopList();
        const std::int64_t loopCount = loops.count();
        for (std::int64_t l = 0; l < loopCount; ++l) {
            const m2dHatchLoopRefListC refs = loops.item(l).shapeRefList();
            const std::int64_t refCount = refs.count();
            for (std::int64_t r = 0; r < refCount; ++r) {
                const m2dShapeBaseC target = refs.item(r).targetShape();
                if (target.isBound()) target.setAttrInt("HATCHIDX", h);
            }
        }
    }
    return hatches;
}
