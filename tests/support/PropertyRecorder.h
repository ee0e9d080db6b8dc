#pragma once

#include "mainwindow/Controls.h"

#include <QString>

#include <utility>
#include <vector>

namespace kamorin::test {

// Every property assignment the handlers make, in order, as "Name.Property".
class PropertyRecorder : public ControlObserver
{
public:
    explicit PropertyRecorder(ControlObservers &observers) : m_observers(observers)
    {
        m_observers.add(this);
    }
    ~PropertyRecorder() override { m_observers.remove(this); }

    void propertyChanged(const Control &control, Property property) override
    {
        assignments.emplace_back(control.name() + u'.' + propertyName(property));
        if (const auto *label = dynamic_cast<const Label *>(&control);
            label && property == Property::Width)
            widths.emplace_back(control.name(), label->width());
    }

    // The widths assigned to one label, in order.
    std::vector<float> widthsOf(const QString &name) const
    {
        std::vector<float> result;
        for (const auto &[control, width] : widths) {
            if (control == name)
                result.push_back(width);
        }
        return result;
    }

    std::vector<QString> assignments;
    std::vector<std::pair<QString, float>> widths;

private:
    static QString propertyName(Property property)
    {
        switch (property) {
        case Property::Text:
            return QStringLiteral("Text");
        case Property::Width:
            return QStringLiteral("Width");
        case Property::Left:
            return QStringLiteral("Left");
        case Property::Enabled:
            return QStringLiteral("Enabled");
        case Property::Selection:
            return QStringLiteral("Selection");
        }
        return {};
    }

    ControlObservers &m_observers;
};

} // namespace kamorin::test
