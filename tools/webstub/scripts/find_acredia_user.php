<?php
// Technician accounts in the state table accounts: "code;password;mail".
return function (Stub $stub, array $fields): array {
    foreach ($stub->table('accounts') as $account) {
        if (($account[0] ?? null) !== ($fields['user_id'] ?? '')) {
            continue;
        }
        if (($fields['send_user_mail'] ?? '0') === '1') {
            return ['RESULT=Password inviata all\'indirizzo ' . ($account[2] ?? '')];
        }
        return [($account[1] ?? null) === ($fields['user_psw'] ?? '') ? 'RESULT=OK' : 'RESULT=Password errata'];
    }
    return ['RESULT=Utente non registrato'];
};
