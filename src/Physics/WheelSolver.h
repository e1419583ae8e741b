#pragma once

// Private to the physics layer: the raycast wheel model.

class btDynamicsWorld;

namespace Physics {

class Actor;
class WheelShape;

class WheelSolver {
public:
    // Advances the wheels of a dynamic actor by one sub-step of h seconds. Runs inside
    // the world's step after collision detection, before the contact solver, whose
    // gravity it anticipates.
    static void step(Actor& actor, btDynamicsWorld& world, float h);
    // Drops a contact that refers to a shape of an actor about to be released.
    static void forgetContactWith(WheelShape& wheel, const Actor& other);

private:
    class CarStep;
};

} // namespace Physics
