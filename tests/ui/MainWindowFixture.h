// Shared set-up of the main-window tests: a main window on a fresh reference database in
// a temporary folder, the scripted prompts, and helpers that drive the real controls.
#pragma once

#include "uFireClasses.h"
#include "uMain.h"
#include "uPrompts.h"
#include "uProjectParams.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TScriptedPrompts> prompts = std::make_unique<TScriptedPrompts>();
    std::unique_ptr<TfrmMain> win;

    QString Path(const QString& name) const { return dir.filePath(name); }

    TMainWindowOptions Options(const QStringList& args = {}) const
    {
        TMainWindowOptions options;
        options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
        options.UseApplicationArguments = false;
        options.Arguments = args;
        return options;
    }

    void Start(const QStringList& args = {})
    {
        win = std::make_unique<TfrmMain>(Options(args));
        win->show();
    }

    QAction* Action(const char* name) const
    {
        auto* action = win->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    template <class T> T* Control(const char* name) const
    {
        T* control = win->findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    // Scripts the project parameters dialog for the next command: name, then either a
    // manual size or a picture chosen through its picture dialog.
    void ScriptParamsDialog(const QString& name, int width, int height)
    {
        prompts->Dialog([name, width, height](QWidget* w) {
            auto* d = static_cast<TfrmProjectParams*>(w);
            d->edtProjectName->setText(name);
            d->rbSizeManual->click();
            d->seWidth->setValue(width);
            d->seHeight->setValue(height);
            d->btnOK->click();
        });
    }
    void ScriptParamsDialogWithPicture(const QString& name, const QString& picture)
    {
        prompts->File(picture);
        prompts->Dialog([name](QWidget* w) {
            auto* d = static_cast<TfrmProjectParams*>(w);
            if (!name.isNull())
                d->edtProjectName->setText(name);
            d->rbSizeByBgImage->click();
            d->btnSetBgImage->click();
            d->btnOK->click();
        });
    }

    // "Создать..." with a confirmed dialog and a manual canvas size.
    void NewProject(const QString& name = QStringLiteral("Склад"), int width = 640, int height = 480)
    {
        ScriptParamsDialog(name, width, height);
        Action("miNew")->trigger();
        ASSERT_NE(win->FP, nullptr);
    }

    // Writes a project file with one zone through the program's own writer.
    QString WriteProjectFile(const QString& name, const QString& projectName = QStringLiteral("Офис"))
    {
        TFireProject project;
        project.Name = projectName;
        project.Width = 300;
        project.Height = 200;
        project.AddRoom(10, 10, 110, 90);
        const QString file = Path(name);
        EXPECT_TRUE(project.SaveToFile(file));
        return file;
    }
};
