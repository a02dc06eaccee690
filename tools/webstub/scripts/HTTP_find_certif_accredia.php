<?php
// State table certif_accredia: "number;answer" (the answer may hold several KEY= items).
return function (Stub $stub, array $fields): array {
    foreach ($stub->table('certif_accredia') as $row) {
        if ($row[0] === ($fields['cert_num'] ?? '')) {
            return ['RESULT=' . implode(';', array_slice($row, 1))];
        }
    }
    return ['RESULT=NOT_FOUND'];
};
