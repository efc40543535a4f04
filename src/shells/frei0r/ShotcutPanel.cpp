#include "shells/frei0r/ShotcutPanel.h"

#include "core/controls/Identity.h"
#include "shells/frei0r/FilterParams.h"
#include "shells/frei0r/PanelText.h"
#include "shells/frei0r/ShownScale.h"

#include <cmath>

namespace solvane::frei0r {
namespace {

constexpr char kHeader[] =
    "// Brindel's Solvane in Shotcut, written from the filter's parameters at build time.\n";

bool IsNumber(const FilterParam& p) {
  return p.kind != ParamKind::kPopup && p.kind != ParamKind::kCheckbox;
}

// QML ids of a parameter's controls, by its frei0r index.
std::string ControlId(size_t i) {
  return "control" + std::to_string(i);
}
std::string KeyframesId(size_t i) {
  return "keyframes" + std::to_string(i);
}
std::string ItemsId(size_t i) {
  return "items" + std::to_string(i);
}

// The frei0r defaults as the panel sets them: popups as the item's key, numbers as text with
// every digit. MLT keeps a number it is given as a number to six significant digits only
// (it prints it with "%g" when the project is saved: 30 degrees, 1/12 of a turn, would come
// back as 29.99999); text it keeps as it is.
std::string DefaultLiteral(const FilterParam& p, const FilterControls& defaults) {
  if (p.kind == ParamKind::kPopup) return QmlQuoted(ItemKey(ItemOf(defaults, p)));
  return QmlQuoted(ExactNumber(NumberOf(defaults, p)));
}

// A number the panel computes, in frei0r units, as the text MLT should keep (see above);
// String() writes the shortest text that reads back as the same double.
std::string StoredValue(const std::string& expression) {
  return "String(" + expression + ")";
}

std::string QuotedList(const std::vector<std::string>& texts) {
  std::string list = "[";
  for (size_t i = 0; i < texts.size(); ++i) list += (i ? ", " : "") + texts[i];
  return list + "]";
}

// ----- meta.qml ---------------------------------------------------------------------------

std::string KeyframeTrack(const FilterParam& p) {
  const ShownScale s = ShownScaleOf(p);
  return "            Parameter {\n                name: qsTr(" + QmlQuoted(p.name) +
         ")\n                property: " + QmlQuoted(p.name) +
         "\n                isCurve: true\n                minimum: " +
         ExactNumber(s.min / s.factor) + "\n                maximum: " +
         ExactNumber(s.max / s.factor) + "\n            }";
}

std::string MetaQml() {
  std::vector<std::string> numbers, tracks;
  for (const FilterParam& p : FilterParams()) {
    if (!IsNumber(p)) continue;
    numbers.push_back(QmlQuoted(p.name));
    tracks.push_back(KeyframeTrack(p));
  }
  std::string tracksText;
  for (size_t i = 0; i < tracks.size(); ++i) tracksText += (i ? ",\n" : "") + tracks[i];
  return std::string(kHeader) +
         "import QtQuick 2.0\nimport org.shotcut.qml 1.0\n\nMetadata {\n"
         "    type: Metadata.Filter\n    objectName: 'solvane'\n    name: qsTr(" +
         QmlQuoted(identity::kEffectName) +
         ")\n    keywords: qsTr('light rays beams zoom spin glow', "
         "'search keywords for the Brindel\\'s Solvane video filter') + ' solvane'\n"
         "    mlt_service: 'frei0r.solvane'\n    qml: 'ui.qml'\n    vui: 'vui.qml'\n\n"
         "    keyframes {\n        allowAnimateIn: true\n        allowAnimateOut: true\n"
         "        simpleProperties: " +
         QuotedList(numbers) + "\n        parameters: [\n" + tracksText +
         "\n        ]\n    }\n}\n";
}

// ----- ui.qml -----------------------------------------------------------------------------

std::string HintedLabel(const FilterParam& p) {
  return "        Label {\n            text: qsTr(" + QmlQuoted(p.name) +
         ")\n            Layout.alignment: Qt.AlignRight\n\n            Shotcut.HoverTip {\n"
         "                text: qsTr(" +
         QmlQuoted(ShownHint(p)) + ")\n            }\n        }\n\n";
}

std::string NumberRow(size_t i, const FilterParam& p, const FilterControls& defaults) {
  const ShownScale s = ShownScaleOf(p);
  const std::string id = ControlId(i), keys = KeyframesId(i), name = QmlQuoted(p.name);
  const std::string factor = ExactNumber(s.factor);
  const std::string stored = StoredValue(id + ".value / " + factor);
  return HintedLabel(p) + "        Shotcut.SliderSpinner {\n            id: " + id +
         "\n\n            minimumValue: " + ExactNumber(s.min) + "\n            maximumValue: " +
         ExactNumber(s.max) + "\n            decimals: " + std::to_string(s.decimals) +
         "\n            stepSize: " + ExactNumber(std::pow(10.0, -s.decimals)) +
         (*s.suffix ? std::string("\n            suffix: ' ") + s.suffix + "'" : "") +
         "\n            onValueChanged: updateFilter(" + name + ", " + stored + ", " + keys +
         ", getPosition())\n        }\n\n        Shotcut.UndoButton {\n"
         "            onClicked: " +
         id + ".value = " + ExactNumber(NumberOf(defaults, p)) + " * " + factor +
         "\n        }\n\n        Shotcut.KeyframesButton {\n            id: " + keys +
         "\n\n            onToggled: {\n                enableControls(true);\n"
         "                toggleKeyframes(checked, " +
         name + ", " + stored + ");\n            }\n        }\n\n";
}

std::string PopupRow(size_t i, const FilterParam& p, const FilterControls& defaults) {
  const std::string id = ControlId(i), items = ItemsId(i), name = QmlQuoted(p.name);
  std::string elements;
  // Each item with the number the filter also takes for it (a separator keeps its number).
  const std::vector<std::string_view> selectable = SelectableItems(p);
  for (const std::string_view item : selectable) {
    FilterControls c = DefaultFilterControls();
    SetItem(c, p, ItemKey(item));
    elements += "\n                ListElement {\n                    text: qsTr(" +
                QmlQuoted(item) + ")\n                    value: " + QmlQuoted(ItemKey(item)) +
                "\n                    number: " + ExactNumber(c.value[p.control]) +
                "\n                }\n";
  }
  const std::string dephault = DefaultLiteral(p, defaults);
  return HintedLabel(p) + "        Shotcut.ComboBox {\n            id: " + id +
         "\n\n            implicitWidth: 180\n            textRole: 'text'\n"
         "            onActivated: filter.set(" +
         name + ", " + items + ".get(currentIndex).value)\n\n            model: ListModel {\n"
         "                id: " +
         items + "\n" + elements + "            }\n        }\n\n        Shotcut.UndoButton {\n"
         "            onClicked: {\n                " +
         id + ".currentIndex = itemIndex(" + items + ", " + dephault +
         ");\n                filter.set(" + name + ", " + dephault +
         ");\n            }\n        }\n\n        Item {\n            width: 1\n        }\n\n";
}

std::string CheckboxRow(size_t i, const FilterParam& p, const FilterControls& defaults) {
  const std::string id = ControlId(i), name = QmlQuoted(p.name);
  const std::string dephault = DefaultLiteral(p, defaults);
  return HintedLabel(p) + "        CheckBox {\n            id: " + id +
         "\n\n            text: qsTr(" + QmlQuoted(ControlAt(p.control).text) +
         ")\n            onClicked: filter.set(" + name + ", checked ? 1 : 0)\n        }\n\n"
         "        Shotcut.UndoButton {\n            onClicked: {\n                " +
         id + ".checked = " + (NumberOf(defaults, p) >= 0.5 ? "true" : "false") +
         ";\n                filter.set(" + name + ", " + dephault +
         ");\n            }\n        }\n\n        Item {\n"
         "            width: 1\n        }\n\n";
}

struct UiParts {
  std::vector<std::string> numbers, numberDefaults, allNames, numberIds;
  std::string setControls, updateSimple, setDefaults, rows;
};

void AddParameter(UiParts& ui, size_t i, const FilterParam& p, const FilterControls& defaults) {
  const std::string id = ControlId(i), name = QmlQuoted(p.name);
  const std::string dephault = DefaultLiteral(p, defaults);
  ui.allNames.push_back(name);
  ui.setDefaults += "            filter.set(" + name + ", " + dephault + ");\n";
  if (IsNumber(p)) {
    const std::string factor = ExactNumber(ShownScaleOf(p).factor);
    ui.numbers.push_back(name);
    ui.numberDefaults.push_back(dephault);
    ui.numberIds.push_back(id);
    ui.setControls += "        " + id + ".value = filter.getDouble(" + name + ", position) * " +
                      factor + ";\n        " + KeyframesId(i) +
                      ".checked = filter.animateIn <= 0 && filter.animateOut <= 0 && "
                      "filter.keyframeCount(" +
                      name + ") > 0;\n";
    ui.updateSimple += "        updateFilter(" + name + ", " +
                       StoredValue(id + ".value / " + factor) + ", " + KeyframesId(i) +
                       ", null);\n";
    ui.rows += NumberRow(i, p, defaults);
  } else if (p.kind == ParamKind::kPopup) {
    ui.setControls += "        " + id + ".currentIndex = itemIndex(" + ItemsId(i) +
                      ", filter.get(" + name + "));\n";
    ui.rows += PopupRow(i, p, defaults);
  } else {
    ui.setControls += "        " + id + ".checked = filter.getDouble(" + name + ") >= 0.5;\n";
    ui.rows += CheckboxRow(i, p, defaults);
  }
}

std::string EnableControls(const std::vector<std::string>& ids) {
  std::string chain;
  for (const std::string& id : ids) chain += id + ".enabled = ";
  return "    function enableControls(enabled) {\n        " + chain + "enabled;\n    }\n\n";
}

std::string UiQml() {
  const FilterControls defaults = DefaultFilterControls();
  UiParts ui;
  const std::vector<FilterParam>& params = FilterParams();
  for (size_t i = 0; i < params.size(); ++i) AddParameter(ui, i, params[i], defaults);
  const int height = 50 + 34 * int(params.size() + 1);
  return std::string(kHeader) +
         "import QtQuick 2.12\nimport QtQuick.Controls 2.12\nimport QtQuick.Layouts 1.12\n"
         "import Shotcut.Controls 1.0 as Shotcut\n\nShotcut.KeyframableFilter {\n"
         "    // A popup's item for a stored value: the item's text in any case, with spaces and\n"
         "    // punctuation ignored, or its number, as the filter reads it.\n"
         "    function itemIndex(model, text) {\n"
         "        var key = String(text).toLowerCase().replace(/[^a-z0-9]/g, '');\n"
         "        for (var i = 0; i < model.count; i++) {\n"
         "            if (model.get(i).value === key || String(model.get(i).number) === key)\n"
         "                return i;\n\n        }\n        return -1;\n    }\n\n"
         "    function setControls() {\n        var position = getPosition();\n"
         "        blockUpdate = true;\n" +
         ui.setControls +
         "        blockUpdate = false;\n        enableControls(isSimpleKeyframesActive());\n"
         "    }\n\n" +
         EnableControls(ui.numberIds) + "    function updateSimpleKeyframes() {\n" +
         "        setControls();\n" + ui.updateSimple + "    }\n\n" +
         "    keyframableParameters: " + QuotedList(ui.numbers) + "\n    startValues: " +
         QuotedList(ui.numberDefaults) + "\n    middleValues: " + QuotedList(ui.numberDefaults) +
         "\n    endValues: " + QuotedList(ui.numberDefaults) + "\n    width: 420\n    height: " +
         std::to_string(height) +
         "\n    Component.onCompleted: {\n"
         "        // MLT cuts each frame into slices for a frei0r filter whose threads is not 1;\n"
         "        // the rays cross the whole frame, so it stays one.\n"
         "        filter.set('threads', 1);\n        if (filter.isNew) {\n" +
         ui.setDefaults +
         "            filter.savePreset(preset.parameters);\n        }\n        setControls();\n"
         "    }\n\n    GridLayout {\n        anchors.fill: parent\n        anchors.margins: 8\n"
         "        columns: 4\n\n        Label {\n            text: qsTr('Preset')\n"
         "            Layout.alignment: Qt.AlignRight\n        }\n\n        Shotcut.Preset {\n"
         "            id: preset\n\n            parameters: " +
         QuotedList(ui.allNames) +
         "\n            Layout.columnSpan: 3\n"
         "            onBeforePresetLoaded: resetSimpleKeyframes()\n"
         "            onPresetSelected: {\n                setControls();\n"
         "                initializeSimpleKeyframes();\n            }\n        }\n\n" +
         ui.rows +
         "        Item {\n            Layout.fillHeight: true\n        }\n    }\n\n"
         "    Connections {\n        function onChanged() {\n            setControls();\n"
         "        }\n\n        function onInChanged() {\n            updateSimpleKeyframes();\n"
         "        }\n\n        function onOutChanged() {\n            updateSimpleKeyframes();\n"
         "        }\n\n        function onAnimateInChanged() {\n"
         "            updateSimpleKeyframes();\n        }\n\n"
         "        function onAnimateOutChanged() {\n            updateSimpleKeyframes();\n"
         "        }\n\n        function onPropertyChanged(name) {\n            setControls();\n"
         "        }\n\n        target: filter\n    }\n\n    Connections {\n"
         "        function onPositionChanged() {\n            setControls();\n        }\n\n"
         "        target: producer\n    }\n}\n";
}

// ----- vui.qml ----------------------------------------------------------------------------

// Position as a handle on the video. Its two numbers get a keyframe at the playhead where
// they are keyframed and are set outright otherwise; with simple keyframes (animate in or
// out) the handle only shows the position, as the panel owns those.
constexpr char kVuiQml[] = R"(import QtQuick 2.12
import Shotcut.Controls 1.0 as Shotcut

Shotcut.VuiBase {
    property real zoom: (video.zoom > 0) ? video.zoom : 1
    property int handleSize: Math.max(Math.round(20 / zoom), 8)
    property bool blockUpdate: false

    function getPosition() {
        return Math.max(producer.position - (filter.in - producer.in), 0);
    }

    function setHandle() {
        var position = getPosition();
        blockUpdate = true;
        handle.x = filter.getDouble('Position X', position) * videoItem.width - handleSize / 2;
        handle.y = filter.getDouble('Position Y', position) * videoItem.height - handleSize / 2;
        handle.enabled = filter.animateIn <= 0 && filter.animateOut <= 0;
        blockUpdate = false;
    }

    function setValue(name, value) {
        if (filter.keyframeCount(name) > 0)
            filter.set(name, value, getPosition());
        else
            filter.set(name, value);
    }

    function updateFilter() {
        if (blockUpdate)
            return ;

        var x = (handle.x + handleSize / 2) / videoItem.width;
        var y = (handle.y + handleSize / 2) / videoItem.height;
        setValue('Position X', x);
        setValue('Position Y', y);
    }

    Component.onCompleted: setHandle()

    Flickable {
        anchors.fill: parent
        interactive: false
        clip: true
        contentWidth: video.rect.width * zoom
        contentHeight: video.rect.height * zoom
        contentX: video.offset.x
        contentY: video.offset.y

        Item {
            id: videoItem

            x: video.rect.x
            y: video.rect.y
            width: video.rect.width
            height: video.rect.height
            scale: zoom

            Rectangle {
                id: handle

                width: handleSize
                height: handleSize
                radius: handleSize / 2
                color: 'white'
                border.color: 'black'
                border.width: Math.max(Math.round(2 / zoom), 1)
                opacity: enabled ? 0.8 : 0.2

                MouseArea {
                    anchors.fill: parent
                    acceptedButtons: Qt.LeftButton
                    cursorShape: Qt.SizeAllCursor
                    drag.target: parent
                    drag.threshold: 0
                    onPositionChanged: updateFilter()
                }
            }
        }
    }

    Connections {
        function onChanged() {
            setHandle();
        }

        target: filter
    }

    Connections {
        function onPositionChanged() {
            setHandle();
        }

        target: producer
    }

    Connections {
        function onRectChanged() {
            setHandle();
        }

        target: video
    }
}
)";

}  // namespace

std::vector<PanelFile> ShotcutPanelFiles() {
  return {{"meta.qml", MetaQml()},
          {"ui.qml", UiQml()},
          {"vui.qml", std::string(kHeader) + kVuiQml}};
}

}  // namespace solvane::frei0r
