// A partition of a device the tool may work on, as the tool's model keeps it.
#pragma once

#include <string>

struct MdrPartition {
  int ordinal = 0;  // position among the kept partitions of its device
  std::string label;
  std::string mount_point;
  std::string file_system;
  std::string partition_type;
  std::string size;
  std::string used;
  std::string free;
  int index = 0;  // the "INDEX" property
  bool operating_system = false;
};
