#include "databases_test_env.h"
#include "platform/files.h"
#include "web/code_entry_form.h"
#include "web/laboratory_choice_form.h"
#include "web/login_form.h"
#include "web/registration_form.h"
#include "web/server_endpoint.h"
#include "web/technician_database.h"

namespace {
const std::string kUnknownCode =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon sara' possibile "
    "effettuare\n\n-verifiche certificate Corvanex\n-aggiornamento date di scadenza\n"
    "-aggiornamenti sulla strumentazione.\n\nAggiornare il database dei tecnici abilitati "
    "adesso ?";
const std::string kEmptyDatabase =
    "ATTENZIONE:\nIl database degli operatori abilitati e' vuoto.\nAggiornare il database adesso ?";
const std::string kMailSubject =
    "CORVANEX_USER:Codice identificativo del tecnico esecutore non valido - user code=";

using Lab = std::array<std::string, 6>;
const Lab kNord = {"Lab Nord", "Via Uno 1", "Milano", "MI", "0201", "nord@lab.invalid"};
const Lab kSud = {"Lab Sud", "Via Due 2", "Napoli", "NA", "0811", "sud@lab.invalid"};

template <typename Form>
platform::ScriptedOperator::DialogHandler Fill(std::function<void(Form&)> fill) {
    return [fill](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<Form&>(dialog);
        fill(form);
        return form.OnOK() ? IDOK : IDCANCEL;
    };
}
}  // namespace

class TechnicianTest : public DatabasesTest {
protected:
    TechnicianTest() { folder.Write("msvcrt80.dll", kLabDatabase); }

    web::TechnicianLookup Check(const std::string& id, bool allowChoice = false) {
        technicianId = id;
        return account.CheckTechnician(allowChoice, id);
    }
};

TEST_F(TechnicianTest, SeveralLaboratoriesGiveTheFirstOrTheChosenOne) {
    web::TechnicianLookup lookup = Check("123456");
    EXPECT_EQ(technicianChecked, 1);
    EXPECT_EQ(lookup.lab, kNord);
    EXPECT_EQ(lookup.nameAndCode, "Mario Rossi (id=123456)");
    EXPECT_EQ(technicianRecord, "R100+R200");

    op.ExpectDialog("CSetLimitDlg", [](platform::ModalDialog& dialog) {
        auto& choice = dynamic_cast<CSetLimitDlg&>(dialog);
        EXPECT_EQ(choice.Entries(), (std::vector<std::string>{"Lab Nord", "Lab Sud"}));
        choice.m_nChoice = 1;
        return IDOK;
    });
    lookup = Check("123456", true);
    EXPECT_EQ(lookup.lab, kSud);
    EXPECT_EQ(technicianRecord, "R300");

    // Closed without a choice: the first laboratory.
    op.ExpectDialog("CSetLimitDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    std::string lab1 = "x", lab6, name;
    account.CheckTechnician(TRUE, "123456", &lab1, nullptr, nullptr, nullptr, nullptr, &lab6,
                            &name);
    EXPECT_EQ(lab1, "xLab Nord");
    EXPECT_EQ(lab6, "nord@lab.invalid");
    EXPECT_EQ(name, "Mario Rossi (id=123456)");
    EXPECT_EQ(technicianRecord, "R100+R200");
}

TEST_F(TechnicianTest, RightsOverReferenceInstrumentsBelongToTheLastTechnicianChecked) {
    Check("123456");
    EXPECT_TRUE(web::TechnicianMayUse(technicianRecord, "R200"));
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, "R300"));  // the other laboratory's

    Check("654321");
    EXPECT_EQ(technicianRecord, "R900&");
    EXPECT_TRUE(web::TechnicianMayUse(technicianRecord, "R900"));
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, "R100"));
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, "R90"));
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, ""));

    // A code nobody has leaves nobody's rights behind.
    op.ExpectBox(kUnknownCode, IDNO);
    Check("999999");
    EXPECT_EQ(technicianChecked, 0);
    EXPECT_EQ(technicianRecord, "-1");
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, "R900"));
}

TEST_F(TechnicianTest, UnknownCodeAlertsTheMakerAndIsFoundAfterARefresh) {
    ServeDatabases(std::string(kLabDatabase) +
                   "Lab Est;Via Tre 3;Trieste;TS;0401;est@lab.invalid;Luca Verdi;777777;R500\n");
    op.ExpectBox(kUnknownCode, IDYES);
    op.ExpectBox("Aggiornamento database completato");
    const web::TechnicianLookup lookup = Check("777777");
    EXPECT_EQ(technicianChecked, 1);
    EXPECT_EQ(lookup.lab[0], "Lab Est");
    EXPECT_EQ(technicianRecord, "R500&");
    EXPECT_EQ(stub.ReadState("mails"), ";" + kMailSubject + "777777;\n");
    EXPECT_EQ(feedback.texts.back(), "Connessione con il server in corso...");
    EXPECT_FALSE(feedback.shown);

    // Still unknown after the refresh: one alert, one question, then the check gives up.
    op.ExpectBox(kUnknownCode, IDYES);
    op.ExpectBox("Aggiornamento database completato");
    Check("888888");
    EXPECT_EQ(technicianChecked, 0);
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//send_mail_to_corvanex.php"), 2);
}

TEST_F(TechnicianTest, MissingDatabaseIsOfferedForDownload) {
    platform::RemoveFile(folder.File("msvcrt80.dll"));
    op.ExpectBox(kEmptyDatabase, IDNO);
    Check("654321");
    EXPECT_EQ(technicianChecked, 0);
    EXPECT_TRUE(stub.Requests().empty());

    op.ExpectBox(kEmptyDatabase, IDYES);
    op.ExpectBox(
        "Aggiornamento database fallito.\n\nErr=Failed to retrieve a HTTP status, "
        "Status Code:404\n");
    Check("654321");
    EXPECT_EQ(technicianChecked, 0);
    EXPECT_EQ(feedback.texts.back(), "Connessione il con server in corso...");

    ServeDatabases();
    op.ExpectBox(kEmptyDatabase, IDYES);
    op.ExpectBox("Aggiornamento database  completato");
    Check("654321");
    EXPECT_EQ(technicianChecked, 1);
    EXPECT_EQ(technicianRecord, "R900&");
}

TEST_F(TechnicianTest, EmptyCodesAndShortLinesMatchNobody) {
    folder.Write("msvcrt80.dll",
                 ";;;;;;;\n;;;;;;;;R1\nL1;L2;L3;L4;L5;L6;Nome\n"
                 "L1;L2;L3;L4;L5;L6;Nome;222222\n");
    op.ExpectBox(kUnknownCode, IDNO);
    Check("");
    EXPECT_EQ(technicianChecked, 0);

    // A line that ends with the code lists no reference instrument, not the code itself.
    Check("222222");
    EXPECT_EQ(technicianChecked, 1);
    EXPECT_EQ(technicianRecord, "&");
    EXPECT_FALSE(web::TechnicianMayUse(technicianRecord, "222222"));

    EXPECT_FALSE(web::ParseTechnicianLine("L1;L2;L3;L4;L5;L6;Nome"));
    const auto entry = web::ParseTechnicianLine("a;b;c;d;e;f;g;h;X1+X2;extra  \r\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->code, "h");
    EXPECT_EQ(entry->references, "X1+X2;extra");
}

TEST_F(TechnicianTest, RegisteredUserLogsInWithThePasswordTheServerKnowsOrHasItMailed) {
    stub.WriteState("accounts", "222222;segreto;t@lab.invalid\n");
    op.ExpectBox("Nome utente o password errati");
    op.ExpectDialog("CSetHystogramRange", Fill<CSetHystogramRange>([](CSetHystogramRange& login) {
                        EXPECT_TRUE(login.PasswordEnabled());
                        login.m_strCode = "222222";
                        login.m_strPassword = "sbagliata";
                        EXPECT_FALSE(login.OnOK());
                        login.m_strPassword = "segreto";
                    }));
    CSetHystogramRange login(account);
    EXPECT_EQ(login.DoModal(), IDOK);
    EXPECT_EQ(technicianId, "");  // a registered user is no authorised technician
    EXPECT_EQ(technicianChecked, 0);

    login.m_strCode = "";
    op.ExpectBox("Inserire codice utente");
    login.OnForgotPassword();
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//find_acredia_user.php"), 2);
    login.m_strCode = "222222";
    op.ExpectBox("Password inviata all'indirizzo t@lab.invalid");
    login.OnForgotPassword();
}

TEST_F(TechnicianTest, ALoginTheServerNeverAnsweredSaysWhyAndBlamesNoPassword) {
    CSetHystogramRange login(account);
    login.m_strCode = "222222";
    const std::string unreachable =
        "ATTENZIONE:\nServer non raggiungibile: nome utente e password non verificati:\n";
    stub.WriteState("faults", "find_acredia_user.php status 500\n");
    op.ExpectBox(unreachable + "il server ha risposto con lo stato HTTP 500.");
    EXPECT_FALSE(login.OnOK());
    stub.WriteState("faults", "find_acredia_user.php busy 5\n");
    op.ExpectBox("ATTENZIONE:\nServer occupato: nome utente e password non verificati.");
    EXPECT_FALSE(login.OnOK());

    RefusingPort refusing;
    client.SetEndpoint({stub.Host(), stub.PortText(), "tecnico", "segreto", refusing.PortText()});
    op.ExpectBox(unreachable + "nessuna risposta dal server (");
    EXPECT_FALSE(login.OnOK());

    // A POST_PORT that is no port leaves the posts at the protocol's own: the box names the file.
    for (const std::string port : {"0", "99999", "abc", ""}) {
        SCOPED_TRACE(port);
        folder.Write("webservice.ini", "SERVER_HOST=" + stub.Host() +
                                           "\r\nDOWNLOAD_USER=tecnico\r\nDOWNLOAD_PASSWORD=segreto"
                                           "\r\nPOST_PORT=" +
                                           port + "\r\n");
        client.SetEndpoint(web::LoadServerEndpoint(folder.Path()));
        op.ExpectBox(unreachable);
        EXPECT_FALSE(login.OnOK());
        EXPECT_TRUE(platform::EndsWith(
            op.Shown().back(), "\n\nImpostazioni del servizio web non valide:\n" +
                                   folder.File("webservice.ini") +
                                   ": POST_PORT non e' un numero di porta (\"" + port + "\")"))
            << op.Shown().back();
    }
}

TEST_F(TechnicianTest, NewUserRegistersAndThenLogsIn) {
    op.ExpectDialog("CSelDocToPrint", Fill<CSelDocToPrint>([](CSelDocToPrint& registration) {
                        registration.m_strCode = "12345A";  // only the leading number counts
                        registration.m_strPassword = "a&b c";
                        registration.m_strConfirm = "a&b c";
                        registration.m_strMail = "nuovo@lab.invalid";
                    }));
    op.ExpectBox(
        "OK\nLe informazioni sulla registrazione sono state inviate all'indirizzo "
        "nuovo@lab.invalid");
    CSetHystogramRange login(account);
    login.OnRegisterUser();
    login.m_strCode = "12345A";
    login.m_strPassword = "a&b c";
    EXPECT_TRUE(login.OnOK());

    // A code already taken: the server's answer alone.
    op.ExpectDialog("CSelDocToPrint", Fill<CSelDocToPrint>([](CSelDocToPrint& registration) {
                        registration.m_strCode = "12345A";
                    }));
    op.ExpectBox("Utente gia' registrato");
    login.OnRegisterUser();

    op.ExpectDialog("CSelDocToPrint", [](platform::ModalDialog&) { return IDCANCEL; });
    login.OnRegisterUser();
    EXPECT_EQ(RequestsFor("//qs4060krtn_vp//add_acredia_user.php"), 2);
}

TEST_F(TechnicianTest, RegistrationRefusesWhatCouldNeverLogIn) {
    const std::string badCode = "Il codice utente deve essere di 6 numeri";
    CSelDocToPrint form;
    form.m_strPassword = form.m_strConfirm = "ok";
    for (const char* code : {"12345", "000000", "ABC123", "12345|"}) {
        SCOPED_TRACE(code);
        form.m_strCode = code;
        op.ExpectBox(badCode);
        EXPECT_FALSE(form.OnOK());
    }
    form.m_strCode = "123456";
    form.m_strConfirm = "OK";
    op.ExpectBox("I campi password e conferma password non coincidono.");
    EXPECT_FALSE(form.OnOK());

    EXPECT_EQ(web::CharactersTheLoginCannotSendBack(), "! # $ , ^ ` | ~");
    form.m_strPassword = form.m_strConfirm = "pass!word";
    op.ExpectBox("La password non puo' contenere i caratteri ! # $ , ^ ` | ~");
    EXPECT_FALSE(form.OnOK());
    form.m_strPassword = form.m_strConfirm = "pass&word";
    EXPECT_TRUE(form.OnOK());

    // What the form refuses is exactly what the service could never match at login.
    for (char c : std::string("!#$,^`|~&")) {
        SCOPED_TRACE(std::string(1, c));
        const std::string code = platform::Format("9%05d", static_cast<int>(c));
        const std::string password = std::string("p") + c + "w";
        ASSERT_EQ(client.HttpAddAcrediaUser(code, password, "x@lab.invalid"), "OK");
        EXPECT_EQ(client.HttpFindAcrediaUser(code, password, 0) == "OK",
                  web::LoginCanSendBack(password));
    }
}

TEST(CodeEntryFormTest, TechnicianCodesHaveSixCharactersSerialsAnyLength) {
    testenv::TestOperator op;
    CSetLabelDlg code;
    code.m_strText = "ab12cd";
    EXPECT_TRUE(code.OnOK());

    CSetLabelDlg serial(CSetLabelDlg::kCalibratorSerial);
    EXPECT_EQ(serial.Prompt(), "Inserire matricola del calibratore associato");
    serial.m_strText = "";
    EXPECT_TRUE(serial.OnOK());
}
