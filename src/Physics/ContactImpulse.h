#pragma once

namespace Physics {

class Actor;

// How hard an actor has been hit: the largest contact impulse (N*s, along the contact
// normals) that one other object applied to it within one simulation sub-step since
// the last call. Each call starts the next measurement at zero. A body resting on
// another takes its weight times the sub-step; wheels touch the ground through their
// own solver and never count.
float fetchContactImpulse(Actor& actor);

} // namespace Physics
