#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <map>

class QTextBrowser;

namespace platform {

// The help window. The help file is one HTML document of topics, each a <section id="hc-N"> for help context N
// (sections are not nested); a link "#hc-N" leads to another topic. The window shows one topic at a time.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the topic of helpContext from helpFile. A missing or unreadable help file is reported as an error;
    // a context without a topic shows a note in the window.
    void ShowTopic(const QString& helpFile, int helpContext);

    int currentContext() const { return current_; }
    QString currentHtml() const;
    QTextBrowser* browser() const { return browser_; }

    // The topics of a help file's text by context.
    static std::map<int, QString> ParseTopics(const QString& html);

private:
    bool load(const QString& helpFile);
    void showContext(int helpContext);

    QTextBrowser* browser_;
    QString file_;
    QDateTime loadedStamp_;
    QString style_;
    std::map<int, QString> topics_;
    int current_ = 0;
};

}  // namespace platform
