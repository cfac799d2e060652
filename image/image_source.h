#pragma once

#include "image/surface.h"

namespace gk {

// What an ImageWidget shows: its owner's surface, which may come and go.
class ImageSource {
 public:
  // The surface to show; nullptr while there is none.
  virtual const Surface* SurfaceIfAny() const = 0;

 protected:
  ~ImageSource() = default;
};

}  // namespace gk
