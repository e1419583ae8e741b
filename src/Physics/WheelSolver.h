#pragma once

// Private to the physics layer: the raycast wheel model.

class btDispatcher;
class btDynamicsWorld;
class btVector3;

namespace Physics {

class Actor;
class WheelShape;

class WheelSolver {
public:
    // Advances the wheels of a dynamic actor by one sub-step of h seconds. Runs inside
    // the world's step after collision detection, before the contact solver, whose
    // gravity it anticipates.
    static void step(Actor& actor, btDynamicsWorld& world, float h);
    // Makes a car's body take the push and the friction of a wall, a post or another
    // body's side (a contact normal steeper than a tyre stands on) at its centre of mass.
    // The body's box lies wholly above the centre of mass, so a push at the box would
    // roll the car away from the wall, and the friction of a car climbing a bank into a
    // wall would tip it over its nose; at the centre of mass the hit stops or deflects
    // the car and its friction takes the speed it brings up the bank, but it cannot
    // turn the car over. Runs after collision detection, before the contact solver.
    static void centreSideContacts(btDispatcher& dispatcher, const btVector3& gravity);
    // Drops a contact that refers to a shape of an actor about to be released.
    static void forgetContactWith(WheelShape& wheel, const Actor& other);

private:
    class CarStep;
};

} // namespace Physics
