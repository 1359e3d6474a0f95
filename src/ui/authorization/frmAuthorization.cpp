#include "ui/authorization/frmAuthorization.h"

#include "platform/FileDialogs.h"
#include "platform/QuestionBox.h"
#include "platform/SettingsStore.h"
#include "register/RegisterTexts.h"
#include "system/qt/widgets/OkCancelButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

using Given = AuthorizationRecord::Given;
using Sale = AuthorizationRecord::Sale;

constexpr Given Givens[] = {Given::SignedForm, Given::RecordedCall, Given::WrittenConfirmation, Given::Other};
constexpr Sale Sales[] = {Sale::CustomerCalled, Sale::OurSalesCall,       Sale::AnsweredAdvertising, Sale::Online,
                          Sale::InPerson,       Sale::BusinessToBusiness, Sale::ExistingAccount};

const QString Section = QStringLiteral("Authorization");
const QString OfferKey = QStringLiteral("Offer");

QLineEdit* textBox(const char* name, const QString& accessibleName, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setCursorPosition(0);
    return box;
}

QComboBox* choiceBox(const char* name, const QString& accessibleName, const QString& placeholder, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setPlaceholderText(placeholder);
    return box;
}

template <typename Kind, std::size_t N> int indexOf(const Kind (&kinds)[N], Kind kind)
{
    for (std::size_t k = 0; k < N; ++k) {
        if (kinds[k] == kind)
            return int(k);
    }
    return -1;
}

QString proofText(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

QString hashText(const QByteArray& sha256)
{
    return sha256.isEmpty() ? QStringLiteral("No proof file.")
                            : QStringLiteral("SHA-256: ") + QString::fromLatin1(sha256.toHex());
}

} // namespace

frmAuthorization::frmAuthorization(const AuthorizationRecord& record, bool isNew, bool offered, Use use,
                                   FileDialogs& dialogs, QWidget* owner, QuestionBox* questions)
    : QDialog(owner), m_given(record), m_use(use), m_dialogs(dialogs), m_questions(questions),
      m_proofPath(record.proofFile), m_proofSha256(record.proofSha256)
{
    setObjectName(QStringLiteral("frmAuthorization"));
    setWindowTitle(QStringLiteral("Authorization --Quillo"));
    setModal(true);

    txtAuthorizedBy = textBox("txtAuthorizedBy", QStringLiteral("Authorized by"), record.authorizedBy, this);
    txtPhone = textBox("txtPhone", QStringLiteral("Payor's phone"), record.phone, this);
    dtpAuthorizedAt = new QDateTimeEdit(record.authorizedAt.toLocalTime(), this);
    dtpAuthorizedAt->setObjectName(QStringLiteral("dtpAuthorizedAt"));
    dtpAuthorizedAt->setAccessibleName(QStringLiteral("Date and time of the authorization"));
    dtpAuthorizedAt->setDisplayFormat(QStringLiteral("MM/dd/yyyy h:mm AP"));
    dtpAuthorizedAt->setCalendarPopup(true);
    // Typed or picked from the calendar only: no arrow key or wheel turn changes it unnoticed.
    dtpAuthorizedAt->installEventFilter(this);
    cboGiven = choiceBox("cboGiven", QStringLiteral("How it was given"),
                         QStringLiteral("Choose how the customer authorized the draft"), this);
    for (const Given given : Givens)
        cboGiven->addItem(RegisterTexts::givenName(given));
    cboSale = choiceBox("cboSale", QStringLiteral("How the sale was made"),
                        QStringLiteral("Choose how the sale was made"), this);
    for (const Sale sale : Sales)
        cboSale->addItem(RegisterTexts::saleName(sale));
    cboGiven->setCurrentIndex(isNew ? -1 : indexOf(Givens, record.given));
    cboSale->setCurrentIndex(isNew ? -1 : indexOf(Sales, record.sale));
    lblTelemarketing = new QLabel(RegisterTexts::telemarketingWarning(), this);
    lblTelemarketing->setObjectName(QStringLiteral("lblTelemarketing"));
    lblTelemarketing->setTextFormat(Qt::PlainText);
    lblTelemarketing->setWordWrap(true);
    txtAmount = textBox("txtAmount", QStringLiteral("Authorized amount"), record.amount, this);
    txtPayee = textBox("txtPayee", QStringLiteral("Authorized payee"), record.payee, this);
    spnDrafts = new QSpinBox(this);
    spnDrafts->setObjectName(QStringLiteral("spnDrafts"));
    spnDrafts->setAccessibleName(QStringLiteral("Number of drafts authorized"));
    spnDrafts->setRange(1, 999);
    spnDrafts->setValue(record.drafts);
    txtProof = textBox("txtProof", QStringLiteral("Proof file"), proofText(record.proofFile), this);
    txtProof->setReadOnly(true);
    cmdProof = new QPushButton(QStringLiteral("Choose &Proof File..."), this);
    cmdProof->setObjectName(QStringLiteral("cmdProof"));
    cmdProof->setAutoDefault(false);
    lblProofHash = new QLabel(hashText(record.proofSha256), this);
    lblProofHash->setObjectName(QStringLiteral("lblProofHash"));
    lblProofHash->setTextFormat(Qt::PlainText);
    lblProofHash->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Shown only when reading the proof file takes more than a second.
    prgProof = new QProgressBar(this);
    prgProof->setObjectName(QStringLiteral("prgProof"));
    prgProof->setAccessibleName(QStringLiteral("Reading the proof file"));
    prgProof->setRange(0, 100);
    prgProof->hide();
    chkOffer =
        new QCheckBox(QStringLiteral("O&ffer an authorization record before printing a draft without one"), this);
    chkOffer->setObjectName(QStringLiteral("chkOffer"));
    chkOffer->setChecked(offered);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Authorized &by:"), txtAuthorizedBy);
    fields->addRow(QStringLiteral("Payor's p&hone:"), txtPhone);
    fields->addRow(QStringLiteral("&Date and time:"), dtpAuthorizedAt);
    fields->addRow(QStringLiteral("How it was &given:"), cboGiven);
    fields->addRow(QStringLiteral("How the &sale was made:"), cboSale);
    fields->addRow(lblTelemarketing);
    fields->addRow(QStringLiteral("Authorized &amount:"), txtAmount);
    fields->addRow(QStringLiteral("Authorized pa&yee:"), txtPayee);
    fields->addRow(QStringLiteral("&Number of drafts authorized:"), spnDrafts);
    auto* proof = new QHBoxLayout;
    proof->addWidget(txtProof, 1);
    proof->addWidget(cmdProof);
    fields->addRow(QStringLiteral("Proof file:"), proof);
    fields->addRow(lblProofHash);
    fields->addRow(prgProof);

    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    QDialogButtonBox* buttons = okCancel.box;
    cmdOK = okCancel.ok;
    cmdCancel = okCancel.cancel;
    if (use != Use::Edit) {
        const bool exporting = use == Use::OfferBeforeExport;
        lblWhy =
            new QLabel(exporting ? QStringLiteral("This draft has no authorization record yet: fill one in, and it "
                                                  "is kept with the draft in the register when it is exported.")
                                 : QStringLiteral("This draft has no authorization record yet: fill one in, and it "
                                                  "is kept with the draft in the register when it is printed."),
                       this);
        lblWhy->setObjectName(QStringLiteral("lblWhy"));
        lblWhy->setTextFormat(Qt::PlainText);
        lblWhy->setWordWrap(true);
        cmdOK->setText(exporting ? QStringLiteral("&Record and Export") : QStringLiteral("&Record and Print"));
        cmdWithout = buttons->addButton(QStringLiteral("Print Without Record"), QDialogButtonBox::ActionRole);
        cmdWithout->setObjectName(QStringLiteral("cmdWithout"));
        // The caption stays as the merchant is told it; the key is Alt+W all the same.
        cmdWithout->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
        cmdWithout->setToolTip(QStringLiteral("Alt+W"));
        connect(cmdWithout, &QPushButton::clicked, this, &frmAuthorization::cmdWithout_Click);
    }

    auto* layout = new QVBoxLayout(this);
    if (lblWhy)
        layout->addWidget(lblWhy);
    layout->addLayout(fields);
    layout->addWidget(chkOffer);
    layout->addWidget(buttons);
    // The sentences take the width of the fields and the height their words
    // need at that width; the dialog grows and shrinks with the warning, so
    // that it is never cut off and leaves no gap when hidden.
    lblTelemarketing->hide();
    const int width = qMax(fields->sizeHint().width(), chkOffer->sizeHint().width());
    for (QLabel* sentence : {lblTelemarketing, lblWhy}) {
        if (!sentence)
            continue;
        sentence->setFixedWidth(width);
        sentence->setMinimumHeight(sentence->heightForWidth(width));
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdProof, &QPushButton::clicked, this, &frmAuthorization::cmdProof_Click);
    connect(&m_proofReading, &QFutureWatcher<ProofFileCheck::Result>::progressValueChanged, prgProof,
            &QProgressBar::setValue);
    connect(cboSale, &QComboBox::currentIndexChanged, this, &frmAuthorization::cboSale_Click);
    connect(cboGiven, &QComboBox::currentIndexChanged, this, &frmAuthorization::updateOk);
    connect(txtAuthorizedBy, &QLineEdit::textChanged, this, &frmAuthorization::updateOk);
    cboSale_Click();
    cmdOK->setDefault(true);
    // The two choices are what a new record lacks.
    (isNew ? static_cast<QWidget*>(cboGiven) : txtAuthorizedBy)->setFocus();
}

bool frmAuthorization::offeredIn(const SettingsStore& settings, const QString& application)
{
    // Only a clear no turns it off: a draft without proof should never go unnoticed.
    return settings.readSetting(application, Section, OfferKey, QString()).trimmed() != QLatin1String("false");
}

void frmAuthorization::saveOffered(SettingsStore& settings, const QString& application, bool offered)
{
    settings.saveSetting(application, Section, OfferKey, offered ? QStringLiteral("true") : QStringLiteral("false"));
}

void frmAuthorization::cboSale_Click()
{
    const int sale = cboSale->currentIndex();
    AuthorizationRecord shown;
    if (sale >= 0)
        shown.sale = Sales[sale];
    lblTelemarketing->setVisible(sale >= 0 && shown.isTelemarketing());
    updateOk();
}

bool frmAuthorization::isTelemarketingShown() const
{
    return lblTelemarketing->isVisibleTo(const_cast<frmAuthorization*>(this));
}

bool frmAuthorization::saleAllowed()
{
    if (m_use == Use::Edit || !m_questions || !isTelemarketingShown())
        return true;
    m_telemarketingAnswered = m_questions->ask(RegisterTexts::telemarketingQuestion());
    return m_telemarketingAnswered;
}

void frmAuthorization::accept()
{
    if (saleAllowed())
        QDialog::accept();
}

bool frmAuthorization::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dtpAuthorizedAt) {
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool step = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp ||
                              key->key() == Qt::Key_PageDown;
            // Alt+Down opens the calendar, which shows what it changes.
            if (step && !(key->modifiers() & Qt::AltModifier))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAuthorization::updateOk()
{
    cmdOK->setEnabled(!m_proofReading.isRunning() && !txtAuthorizedBy->text().trimmed().isEmpty() &&
                      cboGiven->currentIndex() >= 0 && cboSale->currentIndex() >= 0);
}

void frmAuthorization::cmdProof_Click()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.initialFolder = m_proofPath.isEmpty() ? QString() : QFileInfo(m_proofPath).absolutePath();
    request.filters = {{QStringLiteral("All Files (*)"), {QStringLiteral("*")}}};
    request.selectedFilter = 0;
    request.fileMustExist = true;
    request.hideReadOnly = true;
    const std::optional<QString> path = m_dialogs.choose(request);
    if (!path)
        return;
    // Read on a worker thread; the dialog waits for it without the merchant's input.
    cmdProof->setEnabled(false);
    cmdOK->setEnabled(false);
    if (cmdWithout)
        cmdWithout->setEnabled(false);
    lblProofHash->setText(QStringLiteral("Reading %1...").arg(QFileInfo(*path).fileName()));
    prgProof->setValue(0);
    disconnect(&m_proofReading, &QFutureWatcher<ProofFileCheck::Result>::finished, this, nullptr);
    connect(&m_proofReading, &QFutureWatcher<ProofFileCheck::Result>::finished, this,
            [this, path = *path] { proofRead(path); });
    m_proofReading.setFuture(QtConcurrent::run(
        [](QPromise<ProofFileCheck::Result>& promise, const QString& file) {
            promise.setProgressRange(0, 100);
            promise.addResult(
                ProofFileCheck::read(file, [&promise](int percent) { promise.setProgressValue(percent); }));
        },
        *path));
    QTimer::singleShot(1000, prgProof, [this] {
        if (m_proofReading.isRunning())
            prgProof->show();
    });
}

void frmAuthorization::refuseProof(const QString& problem)
{
    m_proofPath.clear();
    m_proofSha256.clear();
    txtProof->clear();
    lblProofHash->setText(problem);
}

void frmAuthorization::proofRead(const QString& path)
{
    prgProof->hide();
    cmdProof->setEnabled(true);
    if (cmdWithout)
        cmdWithout->setEnabled(true);
    const ProofFileCheck::Result read = m_proofReading.result();
    if (read.problem.isEmpty()) {
        m_proofPath = path;
        m_proofSha256 = read.sha256;
        txtProof->setText(proofText(path));
        lblProofHash->setText(hashText(read.sha256));
    } else {
        // The file chosen before, if any, stays; another can be chosen.
        lblProofHash->setText(read.problem);
    }
    updateOk();
}

void frmAuthorization::cmdWithout_Click()
{
    if (saleAllowed())
        done(WithoutRecord);
}

AuthorizationRecord frmAuthorization::record() const
{
    AuthorizationRecord shown = m_given;
    shown.authorizedBy = txtAuthorizedBy->text().trimmed();
    shown.phone = txtPhone->text().trimmed();
    shown.authorizedAt = dtpAuthorizedAt->dateTime().toUTC();
    if (cboGiven->currentIndex() >= 0)
        shown.given = Givens[cboGiven->currentIndex()];
    if (cboSale->currentIndex() >= 0)
        shown.sale = Sales[cboSale->currentIndex()];
    shown.amount = txtAmount->text().trimmed();
    shown.payee = txtPayee->text().trimmed();
    shown.drafts = spnDrafts->value();
    shown.proofFile = m_proofPath;
    shown.proofSha256 = m_proofSha256;
    if (!(shown == m_given))
        shown.id = AuthorizationRecord::newId();
    return shown;
}

bool frmAuthorization::offered() const
{
    return chkOffer->isChecked();
}
