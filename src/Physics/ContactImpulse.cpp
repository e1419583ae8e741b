#include "Physics/ContactImpulse.h"

#include "Physics/Actor.h"
#include "Physics/BulletBridge.h"

#include <algorithm>
#include <utility>

namespace Physics {

void recordContactImpulses(btDispatcher& dispatcher) {
    const int manifolds = dispatcher.getNumManifolds();
    for (int i = 0; i < manifolds; ++i) {
        const btPersistentManifold* manifold = dispatcher.getManifoldByIndexInternal(i);
        float total = 0.0f;
        for (int point = 0; point < manifold->getNumContacts(); ++point) {
            total += manifold->getContactPoint(point).getAppliedImpulse();
        }
        if (total <= 0.0f) {
            continue;
        }
        for (const btCollisionObject* object : {manifold->getBody0(), manifold->getBody1()}) {
            if (const auto* actor = static_cast<const Actor*>(object->getUserPointer())) {
                float& strongest = actor->getBody().strongestContactImpulse;
                strongest = std::max(strongest, total);
            }
        }
    }
}

float fetchContactImpulse(Actor& actor) {
    return std::exchange(actor.getBody().strongestContactImpulse, 0.0f);
}

} // namespace Physics
