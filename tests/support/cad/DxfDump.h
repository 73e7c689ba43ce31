#pragma once
// What ezdxf, a reader nobody here wrote, reads in a DXF file: tests/support/cad/dxf_dump.py run
// by the system's python3, its records parsed back. Needs BRIXO_SYSTEM_PYTHON3 and
// BRIXO_CAD_TEST_TOOLS from the build.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

struct DxfRecord {
  std::string kind;
  std::vector<std::string> fields;  // after the kind

  double Number(std::size_t i) const { return std::stod(fields.at(i)); }
  const std::string& Layer() const { return fields.at(0); }
};

struct DxfDump {
  std::vector<DxfRecord> records;

  // The records of one kind, on one layer unless the layer is empty.
  std::vector<DxfRecord> Of(const std::string& kind, const std::string& layer = {}) const {
    std::vector<DxfRecord> found;
    for (const DxfRecord& r : records) {
      if (r.kind == kind && (layer.empty() || r.Layer() == layer)) found.push_back(r);
    }
    return found;
  }
  const DxfRecord* First(const std::string& kind) const {
    for (const DxfRecord& r : records) {
      if (r.kind == kind) return &r;
    }
    return nullptr;
  }
};

// Runs the reader on the file; a failure of the reader fails the test.
inline DxfDump ReadDxfWithEzdxf(const std::filesystem::path& file) {
  const std::string command = std::string(BRIXO_SYSTEM_PYTHON3) + " '" + BRIXO_CAD_TEST_TOOLS +
                              "/dxf_dump.py' '" + file.string() + "' 2>&1";
  DxfDump dump;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return dump;
  }
  std::string output;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << output;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    DxfRecord record;
    std::getline(fields, record.kind, '\t');
    for (std::string field; std::getline(fields, field, '\t');) record.fields.push_back(field);
    dump.records.push_back(std::move(record));
  }
  return dump;
}
