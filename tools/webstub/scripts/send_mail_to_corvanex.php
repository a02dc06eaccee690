<?php
// Keeps each mail as "address;subject;text" in the state file mails.
return function (Stub $stub, array $fields): array {
    $stub->write('mails', ($fields['dest_addr_mail'] ?? '') . ';' . ($fields['mail_subj'] ?? '') . ';'
        . ($fields['mail_txt'] ?? '') . "\n", true);
    return ['RESULT=OK'];
};
