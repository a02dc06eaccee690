<?php
// Keeps the verification file (uploads/<name>) and answers with a small report PDF, or with
// the service's error text when the form is not what it expects.
return function (Stub $stub, array $fields): array {
    $file = $_FILES['user_file'] ?? null;
    if (($fields['action'] ?? '') !== 'upload' || $file === null || $file['error'] !== UPLOAD_ERR_OK) {
        return ['Errore', 'Verifica non valida.<br>Nessun file ricevuto.'];
    }
    $stub->write('uploads/' . basename($file['name']), file_get_contents($file['tmp_name']));
    return ['%PDF-1.4', '% Rapporto di verifica ' . basename($file['name']), '%%EOF'];
};
