#include "ui/CDialogRegistry.h"

#include <map>

namespace orv {
namespace {

std::map<std::string, CDialogRegistry::Factory>& factories() {
    static std::map<std::string, CDialogRegistry::Factory> map;
    return map;
}

} // namespace

void CDialogRegistry::add(const std::string& id, Factory factory) {
    factories()[id] = std::move(factory);
}

void CDialogRegistry::remove(const std::string& id) {
    factories().erase(id);
}

const CDialogRegistry::Factory* CDialogRegistry::find(const std::string& id) {
    auto it = factories().find(id);
    return it == factories().end() ? nullptr : &it->second;
}

} // namespace orv
