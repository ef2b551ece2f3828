#pragma once

#include <QProgressDialog>
#include <QString>

// The progress of a READ or WRITE walk over the look-up table: entries done
// out of the total and the channel, with Cancel. Application-modal once it
// shows, so nothing else reaches the link while the walk runs; it shows
// between two entries once `delayMs` have passed, so a walk that ends sooner
// shows nothing.
class LutProgressDialog : public QProgressDialog {
    Q_OBJECT
  public:
    enum class Direction { Read, Write };

    // `channelEntries`: the entries the walk takes of each channel.
    LutProgressDialog(Direction direction, int channelEntries, int delayMs, QWidget* parent);

    Direction direction() const { return direction_; }

    // The walk's progress callback: shows where the walk is, lets Qt run so
    // Cancel can be pressed, and says whether to go on.
    bool advance(int done, int total, int channel);

    // "Red entry 61 of 256 (61 of 768)": the count within the channel, then
    // within the walk. The dialog's title says READ or WRITE.
    QString labelFor(int done, int total, int channel) const;
    // The box after a cancelled walk; after a READ, which entries of which
    // channels were read (a READ takes every channel, in order).
    QString cancelledText(int done, int total) const;

    // Closing the window or Escape is Cancel, as the button is.
    void reject() override { cancel(); }

  signals:
    // After each entry, once the dialog shows it and before Qt runs.
    void advanced(int done, int total);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Direction direction_;
    int channelEntries_;
};
