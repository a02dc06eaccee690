<?php
// Adds "code;password;mail" to the state table accounts unless the code is taken.
return function (Stub $stub, array $fields): array {
    $code = (string)($fields['user_id'] ?? '');
    foreach ($stub->table('accounts') as $account) {
        if (($account[0] ?? null) === $code) {
            return ['RESULT=Utente gia\' registrato'];
        }
    }
    $stub->write('accounts', $code . ';' . ($fields['user_psw'] ?? '') . ';' . ($fields['user_mail'] ?? '') . "\n", true);
    return ['RESULT=OK'];
};
