#include "cipher_responder.h"

#include "cipher/enciphered_command.h"
#include "platform/text.h"
#include "sim_meter.h"

namespace simmeter {

namespace {

using cipher::CipherKey;

constexpr std::string_view kConfirmation = "_RND_KEYGEN";

std::string Fifteen(std::string plain) {
    plain.resize(cipher::kBlockSize, ' ');
    return plain;
}

// A command the meter knows: one of the keywords and four digits.
bool IsCommand(std::string_view command, std::string_view keyword) {
    if (!platform::StartsWith(command, keyword) || command.size() < keyword.size() + 4)
        return false;
    for (size_t i = keyword.size(); i < keyword.size() + 4; ++i) {
        if (command[i] < '0' || command[i] > '9')
            return false;
    }
    return true;
}

bool IsKnownCommand(std::string_view command) {
    for (const auto keyword : {cipher::kNewKeyKeyword, cipher::kTargetReadingKeyword,
                               cipher::kReferenceReadingKeyword, cipher::kUnlockKeyword}) {
        if (IsCommand(command, keyword))
            return true;
    }
    return false;
}

}  // namespace

std::shared_ptr<CipherResponder> CipherResponder::Create(const cipher::Block& resetKeystream,
                                                         const cipher::MeterCipher::State& state) {
    return std::shared_ptr<CipherResponder>(new CipherResponder(resetKeystream, state));
}

CipherResponder::CipherResponder(const cipher::Block& resetKeystream,
                                 const cipher::MeterCipher::State& state)
    : m_resetKeystream(resetKeystream), m_state(state) {
    m_cipher.Load(m_resetKeystream, m_state);
}

void CipherResponder::InstallOn(SimMeter& meter) {
    meter.AddResponder(
        [self = shared_from_this()](const std::string& line, MeterState& state) {
            return self->Answer(line, state);
        },
        true);
}

void CipherResponder::SetTargetReading(std::string plain) {
    std::lock_guard lock(m_mutex);
    m_targetReading = Fifteen(std::move(plain));
}

void CipherResponder::SetReferenceReading(std::string plain) {
    std::lock_guard lock(m_mutex);
    m_referenceReading = Fifteen(std::move(plain));
}

void CipherResponder::Push(Pending pending) {
    std::lock_guard lock(m_mutex);
    m_pending.push_back(pending);
}

void CipherResponder::RefuseNext() {
    Push({Bend::Refuse});
}
void CipherResponder::IgnoreNext() {
    Push({Bend::Ignore});
}
void CipherResponder::DropAnswerNext() {
    Push({Bend::Drop});
}
void CipherResponder::CutAnswerNext(int symbols) {
    Push({Bend::Cut, symbols});
}
void CipherResponder::SplitAnswerNext(int pieces, int delayMs, int gapMs) {
    Push({Bend::Split, 0, pieces, delayMs, gapMs});
}

std::vector<CipherResponder::Frame> CipherResponder::Frames() const {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

cipher::MeterCipher CipherResponder::Cipher() const {
    std::lock_guard lock(m_mutex);
    return m_cipher;
}

std::optional<Reply> CipherResponder::Answer(const std::string& line, MeterState& state) {
    if (!platform::StartsWith(line, cipher::kCommandFramePrefix))
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    const auto text =
        cipher::CipherText::FromReply(line.substr(cipher::kCommandFramePrefix.size()));
    if (!text)
        return Text(std::string(1, kNak));

    Frame frame;
    frame.command = m_cipher.Decode(*text, CipherKey::Keystream).substr(0, cipher::kBlockSize);
    frame.readable = IsKnownCommand(frame.command);
    if (!frame.readable) {
        const std::string reset =
            m_cipher.Decode(*text, CipherKey::ResetKeystream).substr(0, cipher::kBlockSize);
        if (IsCommand(reset, cipher::kResetKeyKeyword)) {
            frame = {reset, true, true};
        }
    }
    std::optional<Pending> pending;
    if (!m_pending.empty()) {
        pending = m_pending.front();
        m_pending.pop_front();
    }
    if (pending && pending->bend == Bend::Ignore) {
        m_frames.push_back(frame);
        return Silence();
    }
    if (!frame.readable || (pending && pending->bend == Bend::Refuse)) {
        m_frames.push_back(frame);
        return Text(std::string(1, kNak));
    }

    const std::string plain = Serve(frame);
    m_frames.push_back(frame);
    if (IsCommand(frame.command, cipher::kUnlockKeyword))
        state.protectedUnlocked = true;
    Reply reply = Text(m_cipher.Encode(plain, CipherKey::Keystream).Text());
    if (!pending)
        return reply;
    switch (pending->bend) {
        case Bend::Drop:
            return Silence();
        case Bend::Cut:
            return Text(reply.bytes.substr(0, static_cast<size_t>(pending->symbols)));
        case Bend::Split:
            reply.pieces = pending->pieces;
            reply.delayMs = pending->delayMs;
            reply.pieceGapMs = pending->gapMs;
            return reply;
        default:
            return reply;
    }
}

std::string CipherResponder::Serve(const Frame& frame) {
    const std::string digits = platform::Mid(frame.command, 11, 4);
    const int challenge = platform::Atoi(digits);
    if (frame.resetKey)
        m_cipher.Load(m_resetKeystream, m_state);
    m_cipher.Advance(challenge);
    if (IsCommand(frame.command, cipher::kTargetReadingKeyword))
        return m_targetReading;
    if (IsCommand(frame.command, cipher::kReferenceReadingKeyword))
        return m_referenceReading;
    return Fifteen(digits + std::string(kConfirmation));
}

}  // namespace simmeter
