#pragma once
// Which Qt dialog shows which dialog model. CQtPrompt::runDialog() looks the model's id() up
// here. Each folder registers its dialogs once at start-up (registerDialog<Model, Dialog>() or
// add()), before the first runDialog(); a static library would drop self-registering objects.

#include "group/CUserPrompt.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

namespace orv {

class CDialogRegistry {
public:
    // Makes the dialog for one run; the dialog takes the model's values on OK (see CModelDialog).
    using Factory = std::function<std::unique_ptr<QDialog>(CDialogModel& model, CUserPrompt& prompt,
                                                           QWidget* parent)>;

    // A later registration of the same id replaces the earlier one.
    static void add(const std::string& id, Factory factory);
    static void remove(const std::string& id);
    // Nothing when the id was never registered.
    static const Factory* find(const std::string& id);
};

// Registers Dialog, constructed as Dialog(Model&, CUserPrompt&, QWidget* parent), for the
// models whose id() is `id`.
template <class Model, class Dialog> void registerDialog(const std::string& id) {
    CDialogRegistry::add(id, [](CDialogModel& model, CUserPrompt& prompt, QWidget* parent) {
        return std::unique_ptr<QDialog>(
            std::make_unique<Dialog>(static_cast<Model&>(model), prompt, parent));
    });
}

} // namespace orv
