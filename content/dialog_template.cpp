#include "content/dialog_template.h"

#include "content/key_lines.h"

TemplateProduct DialogTemplate::Instantiate() const {
    auto dialog = std::make_unique<Dialog>();
    for (const Message& message : messages)
        dialog->AddMessage(message);
    dialog->event = trigger;
    return dialog;
}

void DialogTemplate::Load(std::istream& text, const std::string& prefix) {
    Template::Load(text, prefix);
    trigger = ReadString(text, "Trigger", "");

    messages.clear();
    text.clear();
    text.seekg(0);
    std::string line;
    while (ReadContentLine(text, line)) {
        if (line.starts_with("AddMessage:"))
            messages.push_back(ParseMessage(line));
    }
}
