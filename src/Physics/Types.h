#pragma once

#include <cstdint>
#include <glm/glm.hpp>

namespace Physics {

// Vectors and poses of the physics layer. A pose is a rotation and a translation;
// it maps local coordinates x to M * x + t.
using Vec3 = glm::vec3;
using Mat33 = glm::mat3;

struct Mat34 {
    Mat33 M{1.0f};
    Vec3 t{0.0f};

    Mat34() = default;
    Mat34(const Mat33& rotation, const Vec3& translation) : M(rotation), t(translation) {}

    // From and to a 4 x 4 matrix (rotation in the upper 3 x 3, translation in column 3).
    explicit Mat34(const glm::mat4& matrix) : M(matrix), t(matrix[3]) {}
    glm::mat4 toMatrix() const {
        glm::mat4 matrix(M);
        matrix[3] = glm::vec4(t, 1.0f);
        return matrix;
    }

    Vec3 transform(const Vec3& x) const { return M * x + t; }
    Mat34 operator*(const Mat34& child) const { return {M * child.M, M * child.t + t}; }
    Mat34 inverse() const {
        const Mat33 r = glm::transpose(M);
        return {r, -(r * t)};
    }
};

// The SDK version this layer implements (2.8.3).
constexpr std::uint32_t SDK_VERSION = 0x02080300;

// Error codes handed to the user output stream.
enum ErrorCode : std::int32_t {
    E_NO_ERROR = 0,
    E_INVALID_PARAMETER = 1,
    E_INVALID_OPERATION = 2,
    E_OUT_OF_MEMORY = 3,
    E_INTERNAL_ERROR = 4,
    E_ASSERTION = 107,
    E_DB_INFO = 205,
    E_DB_WARNING = 206,
    E_DB_PRINT = 208
};

enum AssertResponse : std::int32_t { AR_CONTINUE = 0, AR_IGNORE = 1, AR_BREAKPOINT = 2 };

enum Parameter : std::int32_t {
    P_PENALTY_FORCE = 0,
    P_SKIN_WIDTH = 1,
    P_DEFAULT_SLEEP_LIN_VEL_SQUARED = 2,
    P_DEFAULT_SLEEP_ANG_VEL_SQUARED = 3,
    P_BOUNCE_THRESHOLD = 4,
    P_DYN_FRICT_SCALING = 5,
    P_STA_FRICT_SCALING = 6,
    P_MAX_ANGULAR_VELOCITY = 7,
    P_PARAMS_NUM_VALUES
};

enum ShapeType : std::int32_t { SHAPE_BOX = 2, SHAPE_WHEEL = 4, SHAPE_HEIGHTFIELD = 7 };

enum CombineMode : std::int32_t { CM_AVERAGE = 0, CM_MIN = 1, CM_MULTIPLY = 2, CM_MAX = 3 };

enum MaterialFlag : std::uint32_t {
    MF_ANISOTROPIC = 1 << 0,
    MF_DISABLE_FRICTION = 1 << 4,
    MF_DISABLE_STRONG_FRICTION = 1 << 5
};

enum BodyFlag : std::uint32_t {
    BF_DISABLE_GRAVITY = 1 << 0,
    BF_VISUALIZATION = 1 << 5,
    BF_ENERGY_SLEEP_TEST = 1 << 11
};

enum ShapeFlag : std::uint32_t { SF_FEATURE_INDICES = 1 << 5 };

enum MeshShapeFlag : std::uint32_t { MESH_SMOOTH_SPHERE_COLLISIONS = 1 << 0 };

enum WheelShapeFlag : std::uint32_t {
    WF_WHEEL_AXIS_CONTACT_NORMAL = 1 << 0,
    WF_INPUT_LAT_SLIPVELOCITY = 1 << 1,
    WF_INPUT_LNG_SLIPVELOCITY = 1 << 2,
    WF_UNSCALED_SPRING_BEHAVIOR = 1 << 3,
    WF_AXLE_SPEED_OVERRIDE = 1 << 4,
    WF_EMULATE_LEGACY_WHEEL = 1 << 5,
    WF_CLAMPED_FRICTION = 1 << 6
};

enum TimeStepMethod : std::int32_t { TIMESTEP_FIXED = 0, TIMESTEP_VARIABLE = 1 };

enum SimulationStatus : std::uint32_t { RIGID_BODY_FINISHED = 1 << 0, ALL_FINISHED = 0xffffffff };

enum HeightFieldFormat : std::int32_t { HF_S16_TM = 1 << 0 };

using MaterialIndex = std::uint16_t;

} // namespace Physics
