#pragma once
// The one installed instance of a platform service: a quiet default until the shell or a test
// installs another, and the default again after SetService(nullptr).
#include <memory>
#include <utility>

namespace parlavent {

template <typename Service, typename Default>
std::shared_ptr<Service>& ServiceSlot() {
  static std::shared_ptr<Service> service = std::make_shared<Default>();
  return service;
}

template <typename Service, typename Default>
void InstallService(std::shared_ptr<Service> service) {
  ServiceSlot<Service, Default>() = service ? std::move(service) : std::make_shared<Default>();
}

}  // namespace parlavent
