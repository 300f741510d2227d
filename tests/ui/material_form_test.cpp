// The material dialog: the list, edit mode, add, rename, delete with their
// messages, the editors per key, and a file that only OK changes.
#include "dialogs/material_form.h"
#include "dialogs/real_edit.h"
#include "ncout/material_db.h"
#include "support/test_doubles.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace zeran;

namespace {

QByteArray material(const char* name, const char* depth) {
    return QByteArray("[") + name +
           "]\r\nUnits=0\r\nFeed rate=0.25\r\nSpindle Speed=900\r\nDepth of cut in X=" + depth +
           "\r\nDepth of cut in Z=2\r\nFinishing allowance in X=0.2\r\n"
           "Finishing allowance in Z=0.1\r\nRetract amount in X=0.5\r\nRetract amount in Z=0.5\r\n"
           "Number of repeats=3\r\nGrooving retract amount in X=0.5\r\nDepth of thread=0.92\r\n"
           "Depth of first thread cut=0.3\r\nThread pitch=1.5\r\nMinimum thread cut=0.05\r\n"
           "Number of thread finishing passes=1\r\nThread tip angle=60\r\nThread chamfer=10\r\n"
           "Drill retract amount in Z=1\r\n\r\n";
}

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Fixture {
    QTemporaryDir dir;
    QString path;
    ScriptedPrompt prompt;
    TMaterialDatabase db;
    explicit Fixture(const QByteArray& text) {
        path = dir.path() + "/shop.tmf";
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(text);
        f.close();
        db.OpenMaterialFile(path.toStdString(), prompt, {});
    }
    QStringList names(const TMaterialForm& form) const {
        QStringList out;
        for (int i = 0; i < form.material_list()->count(); ++i)
            out << form.material_list()->item(i)->text();
        return out;
    }
};

} // namespace

class MaterialFormTest : public QObject {
    Q_OBJECT
private slots:
    void list_and_edit_mode() {
        Fixture f(material("Mild Steel (Metric)", "2") + material("Brass", "1.5") +
                  material("Aluminium", "3"));
        TMaterialForm form(f.prompt);
        form.Load(f.db, Units::Metric);
        QCOMPARE(form.windowTitle(), QString("Material Selection"));
        QCOMPARE(f.names(form), (QStringList{"Aluminium", "Brass", "Mild Steel (Metric)"}));
        QCOMPARE(form.material_label()->text(), QString("Material : Aluminium"));
        QCOMPARE(form.file_panel()->text(), "Material File :" + f.path);
        QVERIFY(!form.edit_mode());
        QCOMPARE(form.height(), TMaterialForm::kCompactHeight);
        QCOMPARE(form.button("BtnEdit")->text(), QString("Edit >>"));

        form.BtnEditClick();
        QVERIFY(form.edit_mode());
        QCOMPARE(form.height(), TMaterialForm::kEditHeight);
        QCOMPARE(form.button("BtnEdit")->text(), QString("Edit <<"));
        QCOMPARE(form.param_list()->count(), 19);
        // The first key is the units choice.
        QVERIFY(!form.units_edit()->isHidden());
        QVERIFY(form.param_edit()->isHidden());
        QVERIFY(form.param_label()->text().startsWith("Parameter : \n\n"));

        // Each key gets its editor and limits.
        form.param_list()->setCurrentRow(3); // Depth of cut in X
        QVERIFY(!form.param_edit()->isHidden());
        QCOMPARE(form.param_edit()->EditType(), TEditType::etReal);
        QCOMPARE(form.param_edit()->text(), QString("3"));
        QVERIFY(form.param_label()->text().contains("depth of cut in X"));
        form.param_list()->setCurrentRow(16); // Thread tip angle
        QCOMPARE(form.param_edit()->EditType(), TEditType::etInt);
        QCOMPARE(form.param_edit()->Max(), 80.0);
        form.param_list()->setCurrentRow(9); // Number of repeats: no stale limits
        QCOMPARE(form.param_edit()->Max(), 0.0);
        QCOMPARE(form.param_edit()->Min(), 0.0);
        QVERIFY(f.db.Changed().empty());

        form.BtnEditClick();
        QCOMPARE(form.height(), TMaterialForm::kCompactHeight);

        // A click below the entries with none selected picks the nearest, the last.
        form.show();
        form.material_list()->setCurrentRow(-1);
        QVERIFY(!form.button("BtnOK")->isEnabled());
        QWidget* area = form.material_list()->viewport();
        QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(5, area->height() - 3));
        QCOMPARE(form.material_list()->currentRow(), 2);
        QCOMPARE(f.db.SelectedEntry()->name, std::string("Mild Steel (Metric)"));
        QVERIFY(form.button("BtnOK")->isEnabled());
    }

    void add_rename_and_their_messages() {
        Fixture f(material("Brass", "1.5") + material("Aluminium", "3"));
        TMaterialForm form(f.prompt);
        form.Load(f.db, Units::Metric);
        form.BtnAddClick();
        QCOMPARE(f.db.SelectedEntry()->name, std::string("New Material"));
        // The copy carries Aluminium's values.
        QCOMPARE(f.db.SelectedEntry()->values, f.db.Entries()[0].values);

        QListWidgetItem* item = form.material_list()->currentItem();
        item->setText("");
        QCOMPARE(f.prompt.told.back(),
                 std::string("Material name contains no characters, please enter a valid name."));
        QCOMPARE(item->text(), QString("New Material"));
        item->setText("ALUMINIUM");
        QCOMPARE(f.prompt.told.back(),
                 std::string("Duplicate material name entered, please enter a unique name."));
        QCOMPARE(f.prompt.told.size(), std::size_t(2));
        // The in-place edit comes back a moment later.
        QTest::qWait(150);

        item = form.material_list()->currentItem();
        item->setText("Alu 2");
        QTest::qWait(10);
        QCOMPARE(f.names(form), (QStringList{"Alu 2", "Aluminium", "Brass"}));
        QCOMPARE(form.material_list()->currentItem()->text(), QString("Alu 2"));

        // Editing the copy leaves Aluminium as it was.
        form.BtnEditClick();
        form.param_list()->setCurrentRow(3);
        form.param_edit()->setText("4.5");
        QCOMPARE(f.db.Entries()[0].values[3], std::string("4.5"));
        QCOMPARE(f.db.Entries()[1].values[3], std::string("3"));
        QCOMPARE(f.db.Changed(), (std::vector<std::string>{"Alu 2"}));
    }

    void delete_down_to_empty() {
        Fixture f(material("Brass", "1.5"));
        TMaterialForm form(f.prompt);
        form.Load(f.db, Units::Metric);
        QVERIFY(form.button("BtnOK")->isEnabled());
        form.BtnDeleteClick();
        QCOMPARE(form.material_list()->count(), 0);
        QVERIFY(!form.button("BtnDelete")->isEnabled());
        QVERIFY(!form.button("BtnEdit")->isEnabled());
        QVERIFY(!form.button("BtnOK")->isEnabled());
        QCOMPARE(form.material_label()->text(), QString("Material : "));
        QVERIFY(f.prompt.told.empty()); // no question before deleting
        QCOMPARE(f.db.Changed(), (std::vector<std::string>{"_Brass"}));
        // Adding to an empty list starts from the standard keys at 0.
        form.BtnAddClick();
        QCOMPARE(f.db.SelectedEntry()->keys.size(), std::size_t(19));
        QCOMPARE(f.db.SelectedEntry()->values[1], std::string("0"));
    }

    void ok_writes_and_cancel_keeps_the_file() {
        Fixture f(material("Brass", "1.5") + material("Aluminium", "3"));
        const QByteArray original = read_all(f.path);
        TMaterialForm form(f.prompt);
        std::string path = f.path.toStdString();
        std::string name = "Brass";
        TCycleParams record;

        // Cancel after a rename, an edit and a delete: the file stays byte for byte.
        const bool cancelled =
            ChooseMaterial(f.db, path, name, record, f.prompt, {}, [&](TMaterialDatabase& db) {
                form.Load(db, Units::Metric);
                form.material_list()->currentItem()->setText("Brass2");
                form.BtnEditClick();
                form.param_list()->setCurrentRow(3);
                form.param_edit()->setText("9");
                form.material_list()->setCurrentRow(0);
                form.BtnDeleteClick();
                return false;
            });
        QVERIFY(!cancelled);
        QCOMPARE(read_all(f.path), original);
        QVERIFY(f.db.Changed().empty());

        // OK after renaming Brass: Brass2 is written, the old section stays.
        QString preselected;
        const bool chosen =
            ChooseMaterial(f.db, path, name, record, f.prompt, {}, [&](TMaterialDatabase& db) {
                form.Load(db, Units::Metric);
                preselected = form.material_list()->currentItem()->text();
                form.material_list()->currentItem()->setText("Brass2");
                QTest::qWait(10);
                return true;
            });
        QVERIFY(chosen);
        QCOMPARE(preselected, QString("Brass"));
        QCOMPARE(name, std::string("Brass2"));
        const QByteArray saved = read_all(f.path);
        QVERIFY(saved.contains("[Brass2]"));
        QVERIFY(saved.contains("[Brass]"));
        QVERIFY(saved.contains("[Aluminium]"));
        QCOMPARE(record.DepthCutX, 1.5);
    }

    void units_choice_for_unknown_keys_and_project_units() {
        Fixture f(QByteArray("[Odd]\r\nUnits=0\r\nFeed=1\r\nDepth of cut in X=2.54\r\n\r\n"));
        TMaterialForm form(f.prompt);
        form.Load(f.db, Units::Inch); // an inch project
        form.BtnEditClick();
        form.param_list()->setCurrentRow(1); // "Feed" is not a standard name
        QVERIFY(!form.units_edit()->isHidden());
        QCOMPARE(form.units_edit()->currentIndex(), 1);
        QVERIFY(form.param_label()->text().contains("not applied"));
        // Typed keys do nothing; a double-click switches and counts as an edit.
        QTest::keyClick(form.units_edit(), Qt::Key_Up);
        QCOMPARE(form.units_edit()->currentIndex(), 1);
        QVERIFY(f.db.Changed().empty());
        form.UnitsEditDblClick();
        QCOMPARE(form.units_edit()->currentIndex(), 0);
        QCOMPARE(f.db.Entries()[0].values[1], std::string("0"));
        QCOMPARE(f.db.Changed(), (std::vector<std::string>{"Odd"}));
        // A length of a millimetre material shows what it is in the inch project.
        form.param_list()->setCurrentRow(2);
        const QLabel* unit = form.findChild<QLabel*>("UnitLabel");
        QVERIFY(unit->text().startsWith("mm"));
        QVERIFY2(unit->text().contains("0.1 inch"), qPrintable(unit->text()));
    }
};

QTEST_MAIN(MaterialFormTest)
#include "material_form_test.moc"
