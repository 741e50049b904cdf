#include "framework/ui/TabPanel.h"

#include "framework/qt/KeyboardOrder.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/RuntimeState.h"
#include "framework/ui/Window.h"
#include "framework/qt/WindowFrame.h"

#include <QTabWidget>

namespace fw {

namespace {
QTabWidget* Tabs(const TabPanel& panel) { return static_cast<QTabWidget*>(ViewOf(panel)); }
}  // namespace

TabPanel::TabPanel(Window& window) : TextStyleControl(window, std::make_unique<Widget>(new QTabWidget)) {
    QObject::connect(Tabs(*this), &QTabWidget::currentChanged, [this](int) {
        // The page's controls are the window's, laid over the panel: show
        // those of the current page only.
        auto& owner = OwnerWindow();
        for (int i = 0; i < owner.ControlCount(); ++i)
            if (owner.ControlAt(i).InitialParent() == Name()) owner.ControlAt(i).UpdateShown();
        FocusFirstField(owner, this);
        Guarded([this] { RaiseChange(); });
    });
}

const PropertyTable& TabPanel::Properties() const {
    static const PropertyTable table(
        {
            Prop("TabDefinition", &TabPanel::TabDefinition, &TabPanel::TabDefinition),
            Prop("SmallTabs", &TabPanel::SmallTabs, &TabPanel::SmallTabs),
            Prop("Value", &TabPanel::Value, &TabPanel::Value),
        },
        &FontProperties());
    return table;
}

void TabPanel::TabDefinition(const std::string& captions) {
    definition_ = captions;
    auto* tabs = Tabs(*this);
    const QSignalBlocker quiet(tabs);
    while (tabs->count() > 0) delete tabs->widget(0);
    for (const auto& caption : ToQt(captions).split(QChar('\r'))) tabs->addTab(new QWidget, caption);
}

int TabPanel::Value() const { return Tabs(*this)->currentIndex(); }
void TabPanel::Value(int page) { Tabs(*this)->setCurrentIndex(page); }

bool TabPanel::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "Change") return std::holds_alternative<PlainHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
