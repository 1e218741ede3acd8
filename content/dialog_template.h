#pragma once
// A named list of messages and the event that starts them.
#include <string>
#include <vector>

#include "content/template.h"
#include "content/dialog.h"

class DialogTemplate : public Template {
public:
    DialogTemplate() = default;
    DialogTemplate(std::istream& text, const std::string& prefix) { DialogTemplate::Load(text, prefix); }

    // A new Dialog holding copies of the messages, in file order.
    TemplateProduct Instantiate() const override;
    void Load(std::istream& text, const std::string& prefix) override;

    std::string trigger;
    std::vector<Message> messages;
};
