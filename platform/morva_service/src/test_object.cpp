#include "test_object.h"

#include "device_object.h"
#include "module_object.h"

namespace morva_service {
namespace detail {

bool TestObject::SupportsComponent(const SystemComponentView* device) const {
  // Only the module's own devices are looked at: a host may ask about one that UnloadModules freed.
  if (!module_->Owns(device)) return false;
  return spec_.all_devices || spec_.devices.count(static_cast<const DeviceObject*>(device)->spec().id) > 0;
}

}  // namespace detail
}  // namespace morva_service
