// A device the tool accepts, with the partitions it may work on.
#pragma once

#include <string>
#include <vector>

#include "tools/mendra/common/mdr_partition.h"

struct MdrDevice {
  int index = 0;  // position in the module's component list
  std::string name;
  std::string id;
  bool non_rotating = false;
  std::vector<MdrPartition> partitions;
  bool holds_operating_system = false;
};
