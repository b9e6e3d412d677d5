// The form definitions: every control exists under its name with its kind,
// caption, state, place, focus order and hint, as the handlers expect them.
#include "app/form/CorveloControls.h"
#include "app/ufrmEmpty.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/CheckListBox.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/UpperCaseLineEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

// Readable failure messages.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
static void PrintTo(const QRect& rect, std::ostream* out) {
    *out << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height();
}

namespace {

enum class Check { None, On, Off };

struct ExpectedControl {
    const char* name;
    const char* kind;   // class name, matched with QObject::inherits
    const char* parent; // object name of the direct parent
    QRect place;        // labels: only the top-left counts; empty: laid out by the window
    const char* text;   // UTF-8; nullptr when another test checks it
    Check check = Check::None;
    const char* hint = "";
};

constexpr QRect byWindow;

// clang-format off
const std::vector<ExpectedControl> mainWindowControls = {
    {"PageControl1", "QTabWidget", "frmCorvelo", byWindow, ""},
    {"DBDados", "QTableView", "frmCorvelo", byWindow, ""},
    {"pnlMemo", "QFrame", "frmCorvelo", {8, 256, 977, 433}, ""},
    {"memo", "QPlainTextEdit", "pnlMemo", {8, 8, 945, 369}, "memo"},
    {"btnConfMemo", "FlatButton", "pnlMemo", {104, 392, 89, 22}, "Confirma"},
    {"btnCancMemo", "FlatButton", "pnlMemo", {224, 392, 89, 22}, "Cancela"},

    {"Label10", "AutoSizeLabel", "TabArquivo", {5, 5, 0, 0}, nullptr},
    {"edtServer", "QLineEdit", "TabArquivo", {2, 20, 137, 21}, nullptr},
    {"Label2", "AutoSizeLabel", "TabArquivo", {146, 5, 0, 0}, "Arquivo Dentro do Banco"},
    {"edtArquivo", "QComboBox", "TabArquivo", {146, 19, 135, 21}, ""},
    {"SpeedButton6", "FlatButton", "TabArquivo", {2, 44, 23, 22}, "...."},
    {"btncon", "QPushButton", "TabArquivo", {144, 45, 137, 21}, "Conectar"},
    {"Label1", "AutoSizeLabel", "TabArquivo", {30, 52, 0, 0}, "Banco de Dados"},
    {"edtAlias", "QLineEdit", "TabArquivo", {1, 69, 472, 21}, ""},
    {"btnFechar", "FlatButton", "TabArquivo", {302, 42, 99, 22}, "Fechar Arquivo"},
    {"chkcommit", "QCheckBox", "TabArquivo", {312, 128, 209, 17}, "dar Commit qdo Fechar", Check::Off},
    {"SpeedButton11", "FlatButton", "TabArquivo", {755, 47, 190, 22}, "dar Rollback na Transacao"},
    {"SpeedButton9", "FlatButton", "TabArquivo", {755, 95, 190, 22}, "dar Commit na Transacao"},
    {"Label13", "AutoSizeLabel", "TabArquivo", {261, 101, 0, 0}, nullptr},
    {"btnAbrir", "FlatButton", "TabArquivo", {302, 18, 99, 22}, "Abrir Arquivo"},
    {"Label3", "AutoSizeLabel", "TabArquivo", {421, 6, 0, 0}, "Filtro"},
    {"edtFiltro", "QLineEdit", "TabArquivo", {419, 20, 326, 21}, ""},
    {"btnAtiva", "FlatButton", "TabArquivo", {418, 45, 57, 22}, "Ativa"},
    {"btnDesativa", "FlatButton", "TabArquivo", {482, 45, 65, 22}, "Desativa"},
    {"Ordem", "QPushButton", "TabArquivo", {2, 96, 119, 25}, "Ordem dos Dados >>>"},
    {"EDToRDEM", "UpperCaseLineEdit", "TabArquivo", {128, 97, 121, 21}, ""},
    {"SpeedButton1", "FlatButton", "TabArquivo", {553, 46, 193, 22}, "Eliminar Registros Filtrados"},
    {"SpeedButton7", "FlatButton", "TabArquivo", {553, 70, 193, 22}, "Empty na Tabela"},
    {"SpeedButton8", "FlatButton", "TabArquivo", {554, 95, 191, 22}, "Empty em Todas as Tabelas"},
    {"SpeedButton12", "FlatButton", "TabArquivo", {760, -3, 37, 45}, "", Check::None, "Gerar arquivo do excel"},

    {"Label4", "AutoSizeLabel", "TabSheet2", {32, 40, 0, 0}, "Campo"},
    {"edtCampo", "QLineEdit", "TabSheet2", {80, 36, 129, 21}, ""},
    {"Label5", "AutoSizeLabel", "TabSheet2", {40, 64, 0, 0}, "Valor"},
    {"edtValor", "QLineEdit", "TabSheet2", {80, 64, 281, 21}, ""},
    {"chkProx", "QCheckBox", "TabSheet2", {264, 16, 97, 17}, "Próximo", Check::On},
    {"chkRepress", "QCheckBox", "TabSheet2", {80, 88, 169, 17}, "Reprocessar Codigo ( Auto Inc )", Check::Off},
    {"gprTipo", "QGroupBox", "TabSheet2", {392, 8, 169, 113}, "Tipo"},
    {"rbInteger", "QRadioButton", "gprTipo", {8, 16, 65, 17}, "Integer", Check::On},
    {"rbReal", "QRadioButton", "gprTipo", {8, 40, 65, 17}, "Real", Check::Off},
    {"rbFloat", "QRadioButton", "gprTipo", {8, 64, 65, 17}, "Float", Check::Off},
    {"rbData", "QRadioButton", "gprTipo", {89, 16, 73, 17}, "Data", Check::Off},
    {"rbString", "QRadioButton", "gprTipo", {88, 40, 57, 17}, "String", Check::Off},
    {"rbBoolean", "QRadioButton", "gprTipo", {88, 64, 65, 17}, "Boolean", Check::Off},
    {"rdACento", "QRadioButton", "gprTipo", {8, 88, 81, 17}, "Tira acento", Check::Off},
    {"btnProcessar", "FlatButton", "TabSheet2", {576, 8, 87, 25}, "Processar"},
    {"SpeedButton2", "FlatButton", "TabSheet2", {576, 35, 87, 25}, "Soma Campo"},
    {"SpeedButton3", "FlatButton", "TabSheet2", {576, 62, 87, 25}, "Conta Registros"},
    {"edtSoma", "QLineEdit", "TabSheet2", {576, 92, 129, 21}, "0"},
    {"Label11", "AutoSizeLabel", "TabSheet2", {672, 16, 0, 0}, "Label11"},
    {"Label12", "AutoSizeLabel", "TabSheet2", {672, 32, 0, 0}, "Label11"},
    {"Button5", "QPushButton", "TabSheet2", {728, 8, 113, 25}, "Str Zeros"},
    {"Label16", "AutoSizeLabel", "TabSheet2", {848, 14, 0, 0}, "Nros de (0)"},
    {"edtZeros", "QLineEdit", "TabSheet2", {904, 10, 33, 21}, "2"},

    {"Label6", "AutoSizeLabel", "TabSheet1", {16, 8, 0, 0}, "do Campo"},
    {"edtdoCampo", "QLineEdit", "TabSheet1", {72, 4, 169, 21}, ""},
    {"gprDo", "QGroupBox", "TabSheet1", {72, 24, 169, 90}, "Tipo"},
    {"rbdInteger", "QRadioButton", "gprDo", {8, 16, 65, 17}, "Integer", Check::On},
    {"rbdReal", "QRadioButton", "gprDo", {8, 40, 65, 17}, "Real", Check::Off},
    {"rbdFloat", "QRadioButton", "gprDo", {8, 64, 65, 17}, "Float", Check::Off},
    {"rbdData", "QRadioButton", "gprDo", {89, 16, 73, 17}, "Data", Check::Off},
    {"rbdString", "QRadioButton", "gprDo", {88, 40, 57, 17}, "String", Check::Off},
    {"rbdBoolean", "QRadioButton", "gprDo", {88, 64, 65, 17}, "Boolean", Check::Off},
    {"Label7", "AutoSizeLabel", "TabSheet1", {288, 8, 0, 0}, "para o Campo"},
    {"pCampo", "QLineEdit", "TabSheet1", {360, 4, 169, 21}, ""},
    {"gprPara", "QGroupBox", "TabSheet1", {360, 24, 169, 113}, "Tipo"},
    {"rbpInteger", "QRadioButton", "gprPara", {8, 16, 65, 17}, "Integer", Check::On},
    {"rbpReal", "QRadioButton", "gprPara", {8, 40, 65, 17}, "Real", Check::Off},
    {"rbpFloat", "QRadioButton", "gprPara", {8, 57, 65, 25}, "Float", Check::Off},
    {"rbpData", "QRadioButton", "gprPara", {89, 16, 73, 17}, "Data", Check::Off},
    {"rbpString", "QRadioButton", "gprPara", {88, 40, 57, 17}, "String", Check::Off},
    {"rbpBoolean", "QRadioButton", "gprPara", {88, 59, 65, 17}, "Boolean", Check::Off},
    {"rdSoNumro", "QRadioButton", "gprPara", {8, 80, 137, 25}, "somente numeros", Check::Off},
    {"SpeedButton4", "FlatButton", "TabSheet1", {576, 8, 87, 25}, "Processar"},

    {"Label8", "AutoSizeLabel", "TabSheet3", {32, 40, 0, 0}, "Campo"},
    {"Edit1", "QLineEdit", "TabSheet3", {80, 36, 129, 21}, "Edit1"},
    {"Label9", "AutoSizeLabel", "TabSheet3", {40, 64, 0, 0}, "Valor"},
    {"Edit2", "QLineEdit", "TabSheet3", {80, 64, 129, 21}, "Edit2"},
    {"GroupBox2", "QGroupBox", "TabSheet3", {224, 24, 169, 67}, "Operacao"},
    {"opMais", "QRadioButton", "GroupBox2", {8, 16, 65, 17}, "+", Check::On},
    {"OpMenos", "QRadioButton", "GroupBox2", {8, 40, 65, 17}, "-", Check::Off},
    {"OpVez", "QRadioButton", "GroupBox2", {81, 16, 73, 17}, "*", Check::Off},
    {"OpDiv", "QRadioButton", "GroupBox2", {80, 40, 65, 17}, "/", Check::Off},
    {"GroupBox1", "QGroupBox", "TabSheet3", {400, 24, 169, 65}, "Tipo"},
    {"OpInteger", "QRadioButton", "GroupBox1", {8, 16, 65, 17}, "Integer", Check::On},
    {"OpReal", "QRadioButton", "GroupBox1", {8, 40, 65, 17}, "Real", Check::Off},
    {"OpFloat", "QRadioButton", "GroupBox1", {88, 40, 65, 17}, "Float", Check::Off},
    {"OpData", "QRadioButton", "GroupBox1", {89, 16, 73, 17}, "Data", Check::Off},
    {"SpeedButton5", "FlatButton", "TabSheet3", {576, 8, 87, 25}, "Processar"},

    {"memoscript", "QPlainTextEdit", "TabSheet4", {0, 8, 457, 201}, ""},
    {"Button1", "QPushButton", "TabSheet4", {480, 144, 145, 25}, "Execute Consulta SQL"},
    {"Button2", "QPushButton", "TabSheet4", {480, 184, 145, 25}, "Execute Comando SQL"},
    {"btnExecut", "FlatButton", "TabSheet4", {481, 60, 29, 26}, " ", Check::None, "Localizar arquivo"},
    {"Label14", "AutoSizeLabel", "TabSheet4", {512, 51, 0, 0}, "Endereço do arquivo de Script"},
    {"edtEnd", "QLineEdit", "TabSheet4", {512, 66, 385, 21}, ""},
    {"Button3", "QPushButton", "TabSheet4", {752, 96, 145, 25}, "Execute Script SQL"},
    {"lbltot", "AutoSizeLabel", "TabSheet4", {752, 128, 0, 0}, "Total de Linhas:"},
    {"lblatual", "AutoSizeLabel", "TabSheet4", {752, 152, 0, 0}, "Linha Atual:"},
    {"lblerro", "AutoSizeLabel", "TabSheet4", {896, 152, 0, 0}, "Erro:"},
    {"Label15", "AutoSizeLabel", "TabSheet4", {512, 24, 0, 0}, "Label15"},
    {"SpeedButton10", "FlatButton", "TabSheet4", {643, 186, 190, 22}, "dar Commit na Transacao"},
    {"Button4", "QPushButton", "TabSheet4", {856, 184, 129, 25}, "Ver erros"},
    {"btnExcel", "FlatButton", "TabSheet4", {480, 93, 37, 45}, "", Check::None, "Gerar arquivo do excel"},
};

const std::vector<ExpectedControl> tableChoiceControls = {
    {"itemLista", "CheckListBox", "frmEmpty", {16, 16, 257, 297}, ""},
    {"Button1", "QPushButton", "frmEmpty", {296, 48, 169, 25}, "Empty "},
    {"Button2", "QPushButton", "frmEmpty", {312, 136, 129, 25}, "Marcar Todos"},
    {"Button3", "QPushButton", "frmEmpty", {312, 168, 129, 25}, "Desmarcar Todos"},
};
// clang-format on

struct FocusOrder {
    const char* container;
    std::vector<const char*> order;
};

const std::vector<FocusOrder> mainWindowFocusOrders = {
    {"TabArquivo",
     {"edtAlias", "edtFiltro", "edtServer", "EDToRDEM", "Ordem", "btncon", "edtArquivo", "chkcommit"}},
    {"TabSheet2",
     {"rbInteger", "rbReal", "rbBoolean", "rbString", "rbFloat", "rbData", "rdACento", "edtCampo", "edtValor",
      "chkProx", "edtSoma", "chkRepress", "Button5", "edtZeros"}},
    {"TabSheet1",
     {"rbdInteger", "rbdReal", "rbdBoolean", "rbdString", "rbdFloat", "rbdData", "edtdoCampo", "rbpInteger",
      "rbpReal", "rbpBoolean", "rbpString", "rbpFloat", "rbpData", "rdSoNumro", "pCampo"}},
    {"TabSheet3",
     {"OpInteger", "OpReal", "OpFloat", "OpData", "Edit1", "Edit2", "opMais", "OpMenos", "OpDiv", "OpVez"}},
    {"TabSheet4", {"memoscript", "Button1", "Button2", "edtEnd", "Button3", "Button4"}},
};

QString displayedText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(widget))
        return box->toPlainText();
    return {};
}

// Labels take the size of their text; check boxes and radio buttons may grow
// to their caption but never shrink below the design size.
QRect expectedGeometry(const QWidget* widget, const QRect& place) {
    const QSize hint = widget->sizeHint();
    if (widget->inherits("QLabel"))
        return {place.topLeft(), hint};
    if (widget->inherits("QCheckBox") || widget->inherits("QRadioButton"))
        return {place.left(), place.top(), std::max(place.width(), hint.width()),
                std::max(place.height(), hint.height())};
    return place;
}

void expectControls(const QWidget* root, const std::vector<ExpectedControl>& table) {
    for (const ExpectedControl& expected : table) {
        SCOPED_TRACE(expected.name);
        const auto* widget = root->findChild<QWidget*>(QLatin1String(expected.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(expected.kind)) << widget->metaObject()->className();
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QLatin1String(expected.parent));
        if (expected.place != byWindow) {
            EXPECT_EQ(widget->geometry(), expectedGeometry(widget, expected.place));
        }
        if (expected.text) {
            EXPECT_EQ(displayedText(widget), QString::fromUtf8(expected.text));
        }
        if (auto* button = qobject_cast<const QAbstractButton*>(widget);
            button && expected.check != Check::None) {
            EXPECT_EQ(button->isChecked(), expected.check == Check::On);
        }
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(expected.hint));
    }
}

// Nothing on the form that the table does not know: no stray or misnamed control.
void expectNoOtherControls(const std::vector<ExpectedControl>& table,
                           const std::vector<const QWidget*>& containers) {
    std::set<QString> known;
    for (const ExpectedControl& expected : table)
        known.insert(QLatin1String(expected.name));
    for (const QWidget* container : containers) {
        for (const QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
                continue;
            EXPECT_TRUE(known.count(child->objectName()))
                << "unexpected control " << child->objectName().toStdString() << " in "
                << container->objectName().toStdString();
        }
    }
}

// The named controls of a container that Tab reaches, in the order Tab reaches them.
std::vector<QString> focusChain(const QWidget* container, const QWidget* start) {
    std::vector<QString> names;
    const QWidget* widget = start;
    do {
        if (container->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            names.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget && widget != start);
    return names;
}

void expectFocusOrder(const QWidget* root, const FocusOrder& expected) {
    SCOPED_TRACE(expected.container);
    const auto* container = root->objectName() == QLatin1String(expected.container)
                                ? root
                                : root->findChild<QWidget*>(QLatin1String(expected.container));
    ASSERT_NE(container, nullptr);
    const auto* first = root->findChild<QWidget*>(QLatin1String(expected.order.front()));
    ASSERT_NE(first, nullptr);
    std::vector<QString> wanted;
    for (const char* name : expected.order)
        wanted.push_back(QLatin1String(name));
    EXPECT_EQ(focusChain(container, first), wanted);
}

class MainWindowForm : public ::testing::Test {
protected:
    void SetUp() override {
        form.setObjectName(QStringLiteral("frmCorvelo"));
        controls.createControls(&form);
    }

    template <class T = QWidget> T* control(const char* name) {
        auto* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QWidget form;
    CorveloControls controls;
};

TEST_F(MainWindowForm, EveryControlHasItsKindCaptionStatePlaceAndHint) {
    expectControls(&form, mainWindowControls);

    std::vector<const QWidget*> containers{&form, controls.pnlMemo};
    for (const char* name : {"TabArquivo", "TabSheet2", "TabSheet1", "TabSheet3", "TabSheet4", "gprTipo",
                             "gprDo", "gprPara", "GroupBox1", "GroupBox2"})
        containers.push_back(control(name));
    expectNoOtherControls(mainWindowControls, containers);
}

TEST_F(MainWindowForm, PagesInTabOrderWithGravaCampoCurrent) {
    const std::vector<std::pair<const char*, QString>> pages = {
        {"TabArquivo", QStringLiteral("Arquivo")},     {"TabSheet2", QStringLiteral("Grava Campo")},
        {"TabSheet1", QStringLiteral("Cruzar Campo")}, {"TabSheet3", QStringLiteral("+  -  * / ")},
        {"TabSheet4", QStringLiteral("Scripst Sql")},
    };
    QTabWidget* pageControl = controls.PageControl1;
    ASSERT_EQ(pageControl->count(), int(pages.size()));
    for (int i = 0; i < pageControl->count(); ++i) {
        EXPECT_EQ(pageControl->widget(i)->objectName(), QLatin1String(pages[i].first));
        EXPECT_EQ(pageControl->tabText(i), pages[i].second);
    }
    EXPECT_EQ(pageControl->tabText(3).size(), 10);
    EXPECT_EQ(pageControl->currentWidget(), controls.TabSheet2);
}

TEST_F(MainWindowForm, EditorPanelStartsHiddenAboveTheGrid) {
    EXPECT_TRUE(controls.pnlMemo->isHidden());
    const QObjectList& siblings = form.children();
    EXPECT_GT(siblings.indexOf(static_cast<QObject*>(controls.pnlMemo)),
              siblings.indexOf(static_cast<QObject*>(controls.DBDados)));

    EXPECT_EQ(controls.memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(controls.memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(controls.memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(controls.memoscript->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(controls.memoscript->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(controls.memoscript->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindowForm, FocusFollowsTheDesignOrderOnEveryPage) {
    for (const FocusOrder& expected : mainWindowFocusOrders)
        expectFocusOrder(&form, expected);
}

TEST_F(MainWindowForm, FlatButtonsNeverTakeFocusAndShowTheirPictures) {
    const QList<FlatButton*> buttons = form.findChildren<FlatButton*>();
    EXPECT_EQ(buttons.size(),
              std::count_if(mainWindowControls.begin(), mainWindowControls.end(),
                            [](const ExpectedControl& c) { return qstrcmp(c.kind, "FlatButton") == 0; }));
    for (const FlatButton* button : buttons) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(button->autoRaise()); // drawn as a button at rest, not only under the pointer
    }
    const std::vector<std::pair<const char*, QSize>> pictures = {
        {"btnExecut", {24, 18}}, {"btnExcel", {36, 36}}, {"SpeedButton12", {36, 36}}};
    for (const auto& [name, size] : pictures) {
        SCOPED_TRACE(name);
        auto* button = control<FlatButton>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->iconSize(), size);
        EXPECT_EQ(button->icon().availableSizes().value(0), size);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
}

TEST_F(MainWindowForm, EachRadioGroupHoldsExactlyOneSelection) {
    const std::vector<std::vector<const char*>> groups = {
        {"rbInteger", "rbReal", "rbFloat", "rbData", "rbString", "rbBoolean", "rdACento"},
        {"rbdInteger", "rbdReal", "rbdFloat", "rbdData", "rbdString", "rbdBoolean"},
        {"rbpInteger", "rbpReal", "rbpFloat", "rbpData", "rbpString", "rbpBoolean", "rdSoNumro"},
        {"opMais", "OpMenos", "OpVez", "OpDiv"},
        {"OpInteger", "OpReal", "OpFloat", "OpData"},
    };
    const QList<QRadioButton*> all = form.findChildren<QRadioButton*>();
    for (const auto& group : groups) {
        for (const char* name : group) {
            SCOPED_TRACE(name);
            std::map<QRadioButton*, bool> before;
            for (QRadioButton* button : all)
                before[button] = button->isChecked();

            control<QRadioButton>(name)->click();

            for (QRadioButton* button : all) {
                const bool inGroup = std::find_if(group.begin(), group.end(), [&](const char* member) {
                                         return button->objectName() == QLatin1String(member);
                                     }) != group.end();
                const bool wanted = inGroup ? button->objectName() == QLatin1String(name) : before[button];
                EXPECT_EQ(button->isChecked(), wanted) << button->objectName().toStdString();
            }
        }
    }
}

TEST_F(MainWindowForm, SampleCaptionsShareOnePrivateAddress) {
    const QRegularExpression label10(QStringLiteral(R"(^IP Servidor \((.+):C:\)$)"));
    const QRegularExpression server(QStringLiteral(R"(^(.+):D:$)"));
    const QRegularExpression label13(
        QStringLiteral(R"(^Conexao linux= (.+):/mnt/fat\.\.\./ender\.\.\./banco\.vkt$)"));
    const auto m10 = label10.match(controls.Label10->text());
    const auto mServer = server.match(controls.edtServer->text());
    const auto m13 = label13.match(controls.Label13->text());
    ASSERT_TRUE(m10.hasMatch()) << controls.Label10->text().toStdString();
    ASSERT_TRUE(mServer.hasMatch()) << controls.edtServer->text().toStdString();
    ASSERT_TRUE(m13.hasMatch()) << controls.Label13->text().toStdString();
    const QString address = m10.captured(1);
    EXPECT_EQ(mServer.captured(1), address);
    EXPECT_EQ(m13.captured(1), address);
    const QRegularExpression privateIpv4(
        QStringLiteral(R"(^(10\.\d+|172\.(1[6-9]|2\d|3[01])|192\.168)\.\d+\.\d+$)"));
    EXPECT_TRUE(privateIpv4.match(address).hasMatch()) << address.toStdString();
}

TEST_F(MainWindowForm, LabelsFollowTheirTextWhenHandlersChangeIt) {
    const QSize before = controls.Label13->size();
    controls.Label13->setText(QStringLiteral("CLIENTES") + QString(36, QLatin1Char(' ')) +
                              QStringLiteral("x"));
    EXPECT_EQ(controls.Label13->size(), controls.Label13->sizeHint());
    EXPECT_NE(controls.Label13->size(), before);
    EXPECT_EQ(controls.Label13->pos(), QPoint(261, 101));
}

TEST_F(MainWindowForm, TableNameBoxKeepsTypedNamesOutOfItsList) {
    QComboBox* box = controls.edtArquivo;
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->count(), 0);
    box->lineEdit()->setText(QStringLiteral("CLIENTES"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box->lineEdit(), &enter);
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(box->currentText(), QStringLiteral("CLIENTES"));
}

void typeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

TEST_F(MainWindowForm, OrderBoxTurnsLettersIntoCapitals) {
    UpperCaseLineEdit* edit = controls.EDToRDEM;
    typeText(edit, QStringLiteral("nome;cód_1"));
    EXPECT_EQ(edit->text(), QStringLiteral("NOME;CÓD_1"));

    // Typing in the middle keeps the cursor after the new letter.
    edit->setCursorPosition(4);
    typeText(edit, QStringLiteral("x"));
    EXPECT_EQ(edit->text(), QStringLiteral("NOMEX;CÓD_1"));
    EXPECT_EQ(edit->cursorPosition(), 5);

    edit->clear();
    edit->insert(QStringLiteral("pasted"));
    EXPECT_EQ(edit->text(), QStringLiteral("PASTED"));
}

TEST(UpperCaseRule, KeepsLettersWhoseCapitalTheCodePageCannotHold) {
    EXPECT_EQ(UpperCaseLineEdit::toUpperCase(QStringLiteral("aç ÿ šœž ß 9_;")),
              QStringLiteral("AÇ Ÿ ŠŒŽ ß 9_;"));
    // µ and ƒ would become Greek or Latin Extended capitals outside code page 1252.
    EXPECT_EQ(UpperCaseLineEdit::toUpperCase(QStringLiteral("µƒ")), QStringLiteral("µƒ"));
}

TEST(TableChoiceDialog, HasItsCaptionPlaceControlsAndFocusOrder) {
    TfrmEmpty dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmEmpty"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Empty em Todas as Tabelas"));
    EXPECT_EQ(dialog.pos(), QPoint(186, 149));
    EXPECT_EQ(dialog.size(), QSize(544, 375));
    expectControls(&dialog, tableChoiceControls);
    expectNoOtherControls(tableChoiceControls, {&dialog});
    expectFocusOrder(&dialog, {"frmEmpty", {"itemLista", "Button1", "Button2", "Button3"}});
}

TEST(TableChoiceDialog, ListEntriesCarryTheirOwnCheckBoxes) {
    TfrmEmpty dialog;
    CheckListBox* list = dialog.itemLista;
    list->addCheckItem(QStringLiteral("CLIENTES"));
    list->addCheckItem(QStringLiteral("PRODUTOS"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(list->isChecked(0));
    list->setChecked(1, true);
    EXPECT_FALSE(list->isChecked(0));
    EXPECT_TRUE(list->isChecked(1));
    EXPECT_FALSE(list->isChecked(2)); // past the end: nothing there to be checked
    EXPECT_GE(list->sizeHintForRow(0), CheckListBox::itemHeight);
}

} // namespace
