#pragma once

#include "Data/Control.h"
#include "Game/KeyEventListener.h"
#include "Game/level/DynamicObject.h"
#include "Game/level/Level.h"
#include "Game/vehicle/ValueRamp.h"
#include "Game/vehicle/VehicleDesc.h"
#include "Game/vehicle/Wheel.h"

#include <array>
#include <functional>
#include <vector>

namespace Game {

class ComputerDriver;

// One driver's car: a dynamic object on wheels that turns the driver's keys into
// throttle, brake and steering, drives its wheels through a torque curve and an
// automatic gearbox, moves the wheel models, and counts checkpoints and laps. The
// brake key held while the car stands drives it backwards; with neither pedal
// pressed a slow car stands on its brakes.
class VehicleObject : public DynamicObject, public KeyEventListener {
public:
    explicit VehicleObject(const std::string& name);
    ~VehicleObject() override;

    // Paints the body nodes in the colour (red, green, blue 0..255), builds the body
    // boxes and the wheels. Returns the result of createDynamic.
    virtual bool createVehicle(Level* owner, const Data::SGNodePtr& model, const VehicleDesc& desc,
                               const glm::vec3& colour);
    Physics::Actor* createActor() override;
    void update(double dt) override;
    void release() override;

    // What the driver's five keys do.
    enum Function { ACCELERATE, BRAKE, STEER_LEFT, STEER_RIGHT, RESET };
    // Presses or releases one function, as its key does. A computer driver drives
    // through these alone.
    void setFunction(Function function, bool pressed);
    // Keys bound to the car's functions press and release them; a computer-driven
    // car ignores the keyboard.
    void onKey(int key, int action) override;
    // Sets throttle, brake and steering as the driver's keys are held now (`isDown`
    // tells for a window-layer key), for keys pressed or let go while their events
    // did not reach the car (a pause). Changes nothing for a computer-driven or
    // finished car.
    void matchKeys(const std::function<bool(int)>& isDown);
    // Drives the car in proportions, as a pad does: steering -1 (right) to 1 (left)
    // turns the wheels at once, throttle and brake 0 to 1 are the shares of the
    // pedals, which their ramps follow as a held key's would. The brake alone while
    // the car stands drives it backwards, as the brake key does. Changes nothing for a
    // computer-driven or finished car.
    void setPedals(float steering, float throttleShare, float brakeShare);

    // The place the reset key returns the car to (the last checkpoint passed, at
    // first its start position).
    void setRespawn(const TrackPoint& point) { respawn = point; }
    const TrackPoint& getRespawn() const { return respawn; }
    // Stands the car on its wheels at the point, facing its heading, at rest.
    void placeAt(const TrackPoint& point);
    // Puts the car 2 above the ground at the respawn point, upright and still.
    void reset();

    const Data::Control& getControl() const { return control; }
    float getSpeed() const { return speed; }
    // The wheels' turns per minute.
    float getRpm() const { return rpm; }
    // The engine's turns per minute through the gearbox, and the gear (0 the first).
    float getEngineSpeed() const { return engineSpeed; }
    std::size_t getGear() const { return gear; }
    bool isReversing() const { return reversing; }
    // Speed along the car's heading (negative backwards).
    float getForwardSpeed() const;
    const CarTuning& getTuning() const { return tuning; }
    float getThrottle() const { return throttle; }
    int getNextCheckpoint() const { return nextCheckpoint; }
    int getLastCheckpoint() const { return lastCheckpoint; }
    int getCurrentLap() const { return currentLap; }
    const std::vector<double>& getLapTimes() const { return lapTimes; }
    double getLapTime() const { return lapTime; }
    double getBestLap() const { return bestLap; }
    bool isFinished() const { return finished; }
    // Ground covered since the race began.
    float getDistanceDriven() const { return distanceDriven; }
    const ValueRamp& getThrottleRamp() const { return throttleRamp; }
    const ValueRamp& getBrakeRamp() const { return brakeRamp; }
    const ValueRamp& getSteeringRamp() const { return steeringRamp; }
    const std::vector<WheelPtr>& getWheels() const { return wheels; }

    // Torque of the engine curve at the engine speed (revolutions per minute).
    float torqueAt(float turns) const;

private:
    void updateRaceProgress(double dt);
    void shiftGears();
    // Turns the steered wheels for the steering value (-1..1).
    void steerWheels(float steer);
    // Sets the driven wheels' motor torque and the braked wheels' brake torque.
    void driveWheels(float motorTorque, float brakeTorque);
    void finish();
    glm::quat headingRotation(float degrees) const;

    Physics::Material* wheelMaterial = nullptr;
    int nextCheckpoint = 0;
    int lastCheckpoint = -1;
    int currentLap = 1;
    std::vector<double> lapTimes;
    double lapTime = 0.0;
    double bestLap = 0.0;
    bool finished = false;
    TrackPoint respawn{1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    Data::Control control;
    float speed = 0.0f;
    float distanceDriven = 0.0f;
    CarTuning tuning;
    float throttle = 0.0f;
    float rpm = 1000.0f;
    float engineSpeed = 1000.0f;
    std::size_t gear = 0;
    bool reversing = false;
    // The pedals the driver holds.
    bool accelerating = false;
    bool braking = false;
    ValueRamp throttleRamp{0.0f, 0.0f, 0.0f, 1.0f, 0.8f, 1.25f};
    ValueRamp brakeRamp;
    ValueRamp steeringRamp;
    std::vector<WheelPtr> wheels;
    std::vector<WheelPtr> drivenWheels;
    std::vector<WheelPtr> brakedWheels;
    std::vector<WheelPtr> steerableWheels;
    std::unique_ptr<ComputerDriver> computerDriver;
};

using VehicleObjectPtr = std::shared_ptr<VehicleObject>;

} // namespace Game
