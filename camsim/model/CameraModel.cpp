#include "model/CameraModel.h"

// Placeholder until the model is written.
namespace zr::sim {
CameraModel::CameraModel(Clock&) {}
}  // namespace zr::sim
